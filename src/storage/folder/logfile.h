#pragma once
// The support log: every warning of the program (a file that could not be read or written, a
// refused job) goes, with its date and time, into "varnoth.log" beside the data folder, so that a
// support call can see what went wrong. The log is rotated when it grows past a size: the current
// one becomes "varnoth.log.1", the older ones move up and the oldest goes.

#include <QString>

namespace varnoth
{

inline const QString LogFileName = QStringLiteral("varnoth.log");

struct LogLimits {
    qint64 maxBytes = 1 << 20; // rotated past this size
    int keep = 3;              // rotated logs kept beside the current one
};

// Rotates the log in `folder` when it is over the limit. False when a rotation step failed.
bool rotateLog(const QString& folder, const LogLimits& limits = {});

// Appends one line (date and time, the kind of message, the text) to the log in `folder`.
bool appendLog(const QString& folder, const QString& kind, const QString& text);

// Sends the program's warnings and errors into the log of `folder` (and on to standard error).
void installLog(const QString& folder);

} // namespace varnoth
