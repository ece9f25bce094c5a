#pragma once
// Taking back committed entries of this run, newest first: every bet of the entry is subtracted from
// its stake file and its count from the count file, each file read once and written once.

#include "entry/entry.h"

#include <QList>
#include <QStringList>

namespace varnoth
{

class Store;

inline const QString TakenBackText = QStringLiteral(" ยกเลิกแล้ว");
inline const QString PutBackText = QStringLiteral(" ทำซ้ำแล้ว");
inline const QString NothingToTakeBackText = QStringLiteral("ไม่มีรายการให้ยกเลิก");
inline const QString CannotTakeBackText =
    QStringLiteral("ยกเลิกรายการล่าสุดไม่ได้ ยอดเงินของเลขนี้ถูกแก้ไขหลังคีย์ ต่ำกว่ายอดที่จะยกเลิก: ");

struct UndoResult {
    QStringList lines; // for the main list
    bool done = false; // the entry was taken back (whole)
};

// Takes back one entry. When any line now holds less than what is to be taken back (it was edited or
// deleted since), nothing is changed and one line says which.
UndoResult takeBack(Store& store, const EntryResult& entry);
// Puts a taken-back entry back into its files, whole (doing it again).
UndoResult putBack(Store& store, const EntryResult& entry);

// The entries committed in this run, for taking back in reverse order.
class EntryHistory
{
public:
    void record(const EntryResult& entry)
    {
        if (!entry.changes.isEmpty()) m_entries << entry;
    }
    bool isEmpty() const { return m_entries.isEmpty(); }
    int size() const { return static_cast<int>(m_entries.size()); }
    // Takes back the newest entry; it leaves the history only when it was taken back.
    UndoResult undoLast(Store& store);
    void clear() { m_entries.clear(); }

private:
    QList<EntryResult> m_entries;
};

} // namespace varnoth
