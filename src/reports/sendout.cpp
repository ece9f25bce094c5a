#include "reports/sendout.h"

#include "core/model/text.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/numberfile.h"
#include "storage/folder/store.h"

#include <QMap>

namespace varnoth
{

QStringList applySendOut(Store& store, const QString& data, int sign)
{
    FolderTransaction tx(store);
    QStringList failures = applySendOut(store, tx, data, sign);
    for (const Outcome& failure : tx.commit().failed)
        failures << outcomeLine(failure);
    return failures;
}

QStringList applySendOut(Store& store, FolderTransaction& tx, const QString& data, int sign)
{
    QStringList failures;
    QMap<QString, NumberFile> files; // by path, so each file is read and written once
    QString type;
    const QStringList pieces = splitText(data, QStringLiteral("#"));
    store.progress().reset();
    for (const QString& piece : pieces) {
        if (piece.isEmpty()) continue;
        store.progress().tick(pieces.size());
        if (piece.contains(QLatin1Char('<'))) {
            type = piece;
            type.remove(QLatin1Char('<'));
            type.remove(QLatin1Char('>'));
            continue;
        }
        const qsizetype dash = piece.indexOf(QLatin1Char('-'));
        if (dash < 0) continue;
        const QString path = store.TypeFilePath(type, Store::SendOutPrefix);
        if (path.isEmpty()) continue;
        auto it = files.find(path);
        if (it == files.end()) it = files.insert(path, NumberFile(store, path));
        if (!it->ok()) continue;
        it->add(piece.left(dash), sign * Val(piece.mid(dash + 1)));
    }
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (!it->ok())
            failures << outcomeLine({Status::ReadFailed, it.key()});
        else if (it->changed())
            tx.replaceFile(it.key(), it->text() + CRLF);
    }
    store.progress().hide();
    return failures;
}

} // namespace varnoth
