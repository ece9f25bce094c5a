#pragma once
// The intent record of a save that changes more than one file of the book, "intent.gif". Before the
// first file is replaced, the record is written in place and put on the disk, with, for each file,
// the fingerprint of its bytes before and its whole bytes after; once every file is written, its
// first line becomes "done". Found pending at the next open, it means the save was cut off between
// two files: a file still holding its bytes before is given its bytes after, a file already holding
// them is left, and a file that something else changed since is left alone and named.
//
// The record is written in place rather than replaced, so that a save costs one more write to the
// disk and no change of the folder. Its first line, "intent#<length>#<fingerprint>", covers the rest:
// a record cut off while it was written (a power cut) does not match it, and since no file of the
// book is touched before the record is whole on the disk, such a record has nothing to complete.

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

// The body of a record and its files; parseIntent is false when the body is damaged or incomplete.
QByteArray intentBytes(const QList<IntentFile>& files);
bool parseIntent(const QByteArray& bytes, QList<IntentFile>* files);
// A whole record: the line that covers the body, then the body.
QByteArray intentRecord(const QByteArray& body);

// Writes the record of a save and puts it on the disk; false when it could not be.
bool writeIntent(Store& store, const QByteArray& body);
// The save is whole: the record has nothing left to do.
void closeIntent(Store& store);
// True when the book holds the record of a save that was not finished.
bool saveInterrupted(const Store& store);

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
