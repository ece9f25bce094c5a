#pragma once
// A book held in memory behind BookStore, for the contract suite: the second keeper of a book that
// every rule of the interface must hold for, with the faults a test can plant (a write that fails, a
// customer's stakes that cannot be read).

#include "core/book/bookstore.h"
#include "core/model/text.h"
#include "core/model/types.h"

#include <QHash>
#include <QSet>
#include <functional>

namespace varnoth::test
{

class MemoryBookStore : public BookStore
{
public:
    struct State {
        QStringList customers;
        QHash<QString, QList<AmountLine>> stakes; // "type#customer"
        QHash<QString, QList<AmountLine>> counts; // type
        QHash<QString, QList<AmountLine>> sendOut; // type
        QHash<int, QStringList> settings;         // BookSetting
    };

    void addCustomer(const QString& name)
    {
        m_state.customers << name;
        for (const QString& type : typeNames())
            m_state.stakes.insert(type + '#' + name, fresh(type));
        for (const QString& type : typeNames())
            if (!m_state.counts.contains(type)) {
                m_state.counts.insert(type, fresh(type));
                m_state.sendOut.insert(type, fresh(type));
            }
    }
    QSet<QString> failingCounts; // types whose counts cannot be written
    QSet<QString> damaged;       // "type#customer" whose stakes cannot be read

    QStringList customers() const override { return m_state.customers; }
    QStringList customersListedTwice() const override { return {}; }
    NumberLines stakes(const QString& type, const QString& customer) const override
    {
        const QString key = type + '#' + customer;
        if (!m_state.stakes.contains(key)) return {};
        if (damaged.contains(key)) return {{}, true, false};
        return {m_state.stakes.value(key), true, true};
    }
    QHash<QString, double> stakeSums(const QString& type, const QString& customer, bool* readable) const override
    {
        const NumberLines lines = stakes(type, customer);
        if (readable) *readable = lines.readable;
        QHash<QString, double> sums;
        for (const AmountLine& l : lines.lines)
            if (Val(l.amount) != 0) sums[l.number] += Val(l.amount);
        return sums;
    }
    NumberLines counts(const QString& type) const override
    {
        if (!m_state.counts.contains(type)) return {};
        return {m_state.counts.value(type), true, true};
    }
    NumberLines sendOut(const QString& type) const override
    {
        if (!m_state.sendOut.contains(type)) return {};
        return {m_state.sendOut.value(type), true, true};
    }
    SettingLines settingLines(BookSetting setting) const override
    {
        const int k = static_cast<int>(setting);
        return {m_state.settings.value(k), m_state.settings.contains(k), true};
    }
    quint64 changesEnd() override { return m_journal.size(); }
    Changes changedSince(quint64 position) override
    {
        Changes c;
        for (qsizetype i = static_cast<qsizetype>(position); i < m_journal.size(); ++i)
            c.merge(m_journal[i]);
        return c;
    }
    std::unique_ptr<BookTransaction> begin() override { return std::make_unique<Transaction>(*this); }

private:
    static QList<AmountLine> fresh(const QString& type)
    {
        QList<AmountLine> lines;
        for (const QString& n : NumberSet(type))
            lines << AmountLine{n, QStringLiteral("0")};
        return lines;
    }

    // The changes are made on a copy of the book, which takes the book's place only when every one
    // of them could be made.
    class Transaction : public BookTransaction
    {
    public:
        explicit Transaction(MemoryBookStore& book) : m_book(book) {}
        void addStake(const QString& type, const QString& customer, const QString& number, double delta) override
        {
            const QString key = type + '#' + customer;
            m_steps << [=, this](State& s) {
                if (m_book.damaged.contains(key)) return Outcome{Status::ReadFailed, key};
                return change(s.stakes, key, number,
                              [delta](const QString& a) { return shortestDecimal(Val(a) + delta); });
            };
            m_changes.types << type;
            m_changes.customers << customer;
        }
        void addCount(const QString& type, const QString& number, double n) override
        {
            m_steps << [=, this](State& s) {
                if (m_book.failingCounts.contains(type)) return Outcome{Status::WriteFailed, type};
                return change(s.counts, type, number, [n](const QString& a) { return shortestDecimal(Val(a) + n); });
            };
            m_changes.types << type;
        }
        void addSendOut(const QString& type, const QString& number, double amount) override
        {
            m_steps << [=](State& s) {
                return change(s.sendOut, type, number,
                              [amount](const QString& a) { return shortestDecimal(Val(a) + amount); });
            };
            m_changes.types << type;
        }
        void setStake(const QString& type, const QString& customer, const QString& number,
                      const QString& amount) override
        {
            const QString key = type + '#' + customer;
            m_steps <<
                [=](State& s) { return change(s.stakes, key, number, [amount](const QString&) { return amount; }); };
            m_changes.types << type;
            m_changes.customers << customer;
        }
        void setSettingLines(BookSetting setting, const QStringList& lines) override
        {
            m_steps << [=](State& s) {
                s.settings.insert(static_cast<int>(setting), lines);
                return Outcome{};
            };
            m_changes.addSetting(setting);
        }
        CommitResult commit() override
        {
            CommitResult r;
            State next = m_book.m_state;
            for (const auto& step : std::as_const(m_steps))
                if (const Outcome o = step(next); !o.ok()) r.failed << o;
            if (!r.failed.isEmpty()) {
                r.outcome = r.failed.first();
                return r;
            }
            if (m_steps.isEmpty()) return r;
            m_book.m_state = next;
            m_book.m_journal << m_changes;
            r.changes = m_changes;
            return r;
        }

    private:
        static Outcome change(QHash<QString, QList<AmountLine>>& lines, const QString& key, const QString& number,
                              const std::function<QString(const QString&)>& to)
        {
            auto it = lines.find(key);
            if (it == lines.end()) return {Status::WriteFailed, key};
            for (AmountLine& l : *it)
                if (l.number == number) {
                    l.amount = to(l.amount);
                    return {};
                }
            return {Status::WriteFailed, key};
        }

        MemoryBookStore& m_book;
        QList<std::function<Outcome(State&)>> m_steps;
        Changes m_changes;
    };

    State m_state;
    QList<Changes> m_journal;
};

} // namespace varnoth::test
