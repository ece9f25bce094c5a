#pragma once
// A unit of work on the data folder: every file a step changes is gathered in memory, and commit()
// writes them all or none. A commit of more than one file writes the intent record first (see
// intent.h), then each file, then removes the record: a kill between two files is completed at the
// next open (roll forward), and a write that fails during the commit puts back the files already
// written (roll back), so the commit changes nothing and says which file failed.

#include "core/book/booktransaction.h"
#include "storage/folder/numberfile.h"

#include <QHash>
#include <QStringList>
#include <optional>

namespace varnoth
{

class Store;

class FolderTransaction : public BookTransaction
{
public:
    explicit FolderTransaction(Store& store);

    void addStake(const QString& type, const QString& customer, const QString& number, double delta) override;
    void addCount(const QString& type, const QString& number, double n) override;
    void addSendOut(const QString& type, const QString& number, double amount) override;
    void setStake(const QString& type, const QString& customer, const QString& number, const QString& amount) override;
    void setSettingLines(BookSetting setting, const QStringList& lines) override;
    CommitResult commit() override;

    // Replaces a file of the data folder with exactly this text, for callers that build a file's
    // text themselves.
    void replaceFile(const QString& path, const QString& text);
    // The same with the file's bytes as they stand, and the removal of a file.
    void replaceBytes(const QString& path, const QByteArray& bytes);
    void removeFile(const QString& path);
    // After a commit: the stamp of a file it wrote ("" when not known).
    QByteArray writtenStamp(const QString& path) const { return m_stamps.value(path); }

    // For the kill tests only: called with 0 once the intent record is written and with n after the
    // n-th file of the commit is written.
    using StepHook = void (*)(int filesWritten);
    static void setStepHookForTesting(StepHook hook);

private:
    NumberFile* numberFile(const QString& path);
    void problem(Status status, const QString& path);

    Store& m_store;
    QStringList m_order;                               // the paths in the order they were first changed
    QHash<QString, NumberFile> m_numbers;              // number files changed line by line
    QHash<QString, std::optional<QByteArray>> m_files; // files given whole bytes, or removed (none)
    QList<Outcome> m_problems;                         // found while gathering: the commit will write nothing
    Changes m_changes;
    QHash<QString, QByteArray> m_stamps;
};

// What a change of the named file of the data folder touched, in the book's terms.
Changes changesOfFile(const QString& name, const QString& customerList);

// The file name of a setting in the data folder.
QString settingFileName(BookSetting setting);

} // namespace varnoth
