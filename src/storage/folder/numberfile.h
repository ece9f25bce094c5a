#pragma once
// A number file (stake, count or send-out file) held in memory for a batch of changes: one read,
// any number of changes, one atomic write. The lines keep their order and every line that is not
// changed keeps its text, so the written file is byte for byte what changing the lines one at a
// time would give, and the file keeps one empty line at the end however often it is changed.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

class NumberFile
{
public:
    NumberFile() = default;
    // Reads the file; `ok()` is false when it exists but cannot be read. A `stamped` file also keeps
    // the stamps of the version it read and of the one it wrote, and the lines as they were read.
    NumberFile(Store& store, const QString& path, bool stamped = false);
    static NumberFile fromText(const QString& text);

    bool ok() const { return m_ok; }
    bool isEmpty() const { return m_lines.isEmpty(); }
    QString path() const { return m_path; }
    // The number width: the length of the number on the first number line (blanks around it left
    // aside); 0 for a file without one.
    int width() const { return m_width; }
    bool contains(const QString& number) const { return m_index.contains(number); }
    // The value after the "-" of the number's line (0 when there is no such line).
    double value(const QString& number) const;
    QString valueText(const QString& number) const;
    QStringView valueView(const QString& number) const; // valueText without a copy
    // Adds to the number's line; false when the file has no line for the number.
    bool add(const QString& number, double amount);
    bool set(const QString& number, const QString& valueText);

    // The lines as they stand (no trailing empty lines).
    const QStringList& lines() const { return m_lines; }
    // The text that WriteWholeFile writes: every line followed by CR LF.
    QString text() const;
    bool changed() const { return m_changed; }
    // Writes the file when it changed; false when the write failed.
    bool save(Store& store);
    // The file was written by a commit that holds its text; `stamp` is the stamp of the file written.
    void markSaved(const QByteArray& stamp)
    {
        m_savedStamp = stamp;
        m_changed = false;
    }

    // Of a stamped file: the stamps of the version read and of the one last saved ("" when not known).
    const QByteArray& readStamp() const { return m_readStamp; }
    const QByteArray& savedStamp() const { return m_savedStamp; }
    // Of a stamped file: every changed line, by its index, as it was read.
    QHash<int, QString> linesAsRead() const;

private:
    void parse(const QString& text);

    QString m_path;
    QStringList m_lines;
    QHash<QString, int> m_index; // number -> first line holding it
    int m_width = 0;
    bool m_ok = true;
    bool m_changed = false;
    bool m_stamped = false;
    QByteArray m_readStamp;
    QByteArray m_savedStamp;
    QStringList m_readLines; // of a stamped file, as read
};

} // namespace varnoth
