#pragma once
// The book kept in a data folder, as it always was: the same files, the same bytes, the same journal.

#include "core/book/bookstore.h"

namespace varnoth
{

class Store;

class FolderBookStore : public BookStore
{
public:
    explicit FolderBookStore(Store& store) : m_store(store) {}

    QStringList customers() const override;
    QStringList customersListedTwice() const override;
    NumberLines stakes(const QString& type, const QString& customer) const override;
    QHash<QString, double> stakeSums(const QString& type, const QString& customer,
                                     bool* readable = nullptr) const override;
    NumberLines counts(const QString& type) const override;
    NumberLines sendOut(const QString& type) const override;
    SettingLines settingLines(BookSetting setting) const override;
    quint64 changesEnd() override;
    Changes changedSince(quint64 position) override;
    std::unique_ptr<BookTransaction> begin() override;

    Store& store() { return m_store; }

private:
    NumberLines numberLines(const QStringList& paths) const;

    Store& m_store;
};

} // namespace varnoth
