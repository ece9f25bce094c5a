#pragma once
// The exposure map: for one type, every number of its set with the stake held on it over all
// customers, measured against the type's limit, less what was already sent out, and whether it won.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

enum class ExposureLevel { None, UpToHalf, UpToLimit, Above };

struct ExposureCell {
    QString number;
    double stake = 0;  // held over all customers
    double excess = 0; // above the limit, less what was already sent out
    ExposureLevel level = ExposureLevel::None;
    bool winning = false;
    // The number's own rule: closed, its prize paid at a percentage, or a limit of its own (0 when none).
    bool closed = false;
    qint64 payPercent = 100;
    QString ownLimit;
};

struct Exposure {
    QString type;
    QString limit;             // as stored; "" when the type has none
    QList<ExposureCell> cells; // every number of the type's set, in set order
    int columns = 10;          // the grid's width
    double total = 0;
    double totalExcess = 0;
};

// Builds the map from the same working lists, limit and send-out record as the reports.
Exposure buildExposure(Store& store, const QString& type);

// The same, kept up to date cheaply: each customer's stake file is read again only when it has
// changed on disk since the last build, so the map follows an entry without reading the whole book.
class ExposureSource
{
public:
    explicit ExposureSource(Store& store) : m_store(store) {}
    Exposure build(const QString& type);

private:
    struct FileSums {
        QByteArray stamp;   // identity, size and modification time of the file when it was read
        QList<double> sums; // by position in the type's number set
    };
    Store& m_store;
    QString m_type;
    QHash<QString, FileSums> m_files; // by stake file path
    QHash<QString, int> m_position;   // number -> position in the type's number set
};

// Each customer's stake on the number, "customer: amount" in customer-list order.
QStringList customerStakes(Store& store, const QString& type, const QString& number);

} // namespace varnoth
