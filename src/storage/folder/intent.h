#pragma once
// The intent record of a save that changes more than one file of the book. Before the first file
// is replaced, "intent.gif" is written (atomically, like every file of the book) with, for each file,
// the fingerprint of its bytes before and its whole bytes after; it is removed once every file is
// written. Found at the next open, it means the save was cut off between two files: a file still
// holding its bytes before is given its bytes after, a file already holding them is left, and a file
// that something else changed since is left alone and named.

#include "core/model/outcome.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

inline const QString IntentFileName = QStringLiteral("intent.gif");

struct IntentFile {
    QString name;        // the file's name in the data folder
    QByteArray before;   // the fingerprint of its bytes before ("" when it was missing)
    QByteArray after;    // its whole bytes after
    bool remove = false; // after the save the file is not there
};

// The fingerprint of a file's bytes.
QByteArray intentFingerprint(const QByteArray& bytes);

QByteArray intentBytes(const QList<IntentFile>& files);
// The files of an intent record; false when the record is damaged or incomplete.
bool parseIntent(const QByteArray& bytes, QList<IntentFile>* files);

struct IntentRecovery {
    bool found = false;    // an intent record was there
    QStringList completed; // files given their bytes after
    QStringList leftAlone; // files that something else changed since
    QList<Outcome> failed; // reads or writes that failed; the record is kept for the next open
    bool damaged = false;  // the record could not be read: nothing was touched
    // The lines for the operator ("" list when nothing was found).
    QStringList lines() const;
};

// Completes a save that was cut off between two files, before anything reads the book.
IntentRecovery completeInterruptedSave(Store& store);

} // namespace varnoth
