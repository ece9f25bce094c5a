#include "app/picturerecognizer.h"

#include "entry/picturetexts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

#if VARNOTH_TESSERACT
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace varnoth
{

namespace
{

// Tesseract reads best when a line of text is some 30 to 60 pixels high; a phone screenshot already
// is, a photo of a slip is far larger than it needs to be.
constexpr int LongestSideRead = 3000;
constexpr int NarrowestRead = 900;
// The sizes, against the cleaned picture, at which a doubtful line is read again, cheapest first:
// squeezed in height, which parts the marks below a letter ("ุ" and "ู") more clearly, and larger.
struct ReadingSize {
    double x;
    double y;
};
constexpr ReadingSize SecondReadingSizes[] = {{1.0, 0.8}, {0.75, 0.6}, {1.25, 1.25}, {1.5, 1.5}};

#if VARNOTH_TESSERACT
QString takeText(char* text)
{
    const QString s = QString::fromUtf8(text);
    delete[] text;
    return s;
}
#endif

LoadedPicture decode(const QByteArray& bytes, const QString& name)
{
    LoadedPicture p;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg") {
        p.error = PictureNotPictureText + name;
        return p;
    }
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > PictureMaxPixels) {
        p.error = PictureTooLargeText + name;
        return p;
    }
    reader.setAutoTransform(true); // a phone photo taken on its side
    p.image = reader.read();
    if (p.image.isNull()) {
        p.error = PictureReadFailedText + name;
        return p;
    }
    p.digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    return p;
}

// The slant of the lines of text, in degrees: the angle at which the dark pixels fall into the
// sharpest rows.
double skewOf(const QImage& grey)
{
    const QImage small = grey.width() > 600 ? grey.scaledToWidth(600, Qt::SmoothTransformation) : grey;
    std::vector<QPoint> dark;
    for (int y = 0; y < small.height(); ++y) {
        const uchar* row = small.constScanLine(y);
        for (int x = 0; x < small.width(); ++x)
            if (row[x] < 100) dark.emplace_back(x, y);
    }
    if (dark.size() < 200) return 0;
    double best = 0, bestScore = -1;
    const int bins = small.height() + small.width();
    std::vector<int> hist(bins);
    for (double a = -6; a <= 6.001; a += 0.25) {
        const double t = std::tan(a * M_PI / 180);
        std::fill(hist.begin(), hist.end(), 0);
        for (const QPoint& p : dark) {
            const int y = int(std::lround(p.y() - p.x() * t)) + small.width() / 2;
            if (y >= 0 && y < bins) ++hist[y];
        }
        double score = 0;
        for (int v : hist)
            score += double(v) * v;
        if (score > bestScore) {
            bestScore = score;
            best = a;
        }
    }
    return best;
}

void evenContrast(QImage& grey)
{
    std::array<qint64, 256> hist{};
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            ++hist[row[x]];
    }
    const qint64 total = qint64(grey.width()) * grey.height();
    qint64 sum = 0;
    for (int v = 0; v < 256; ++v)
        sum += hist[v] * v;
    // Light text on a dark screen (a dark theme) is turned into dark text on light.
    if (total > 0 && sum / total < 110) {
        grey.invertPixels();
        std::reverse(hist.begin(), hist.end());
    }
    // The darkest end is taken at a two-thousandth of the picture, not a hundredth: the text of a
    // short message may cover less than a hundredth of a screenshot, and stretching from the shade
    // of its bubble (or of the edge of the bubble) would blacken the bubble with the text in it.
    int lo = 0, hi = 255;
    for (qint64 seen = 0; lo < 255 && (seen += hist[lo]) < total / 2000;)
        ++lo;
    for (qint64 seen = 0; hi > 0 && (seen += hist[hi]) < total / 100;)
        --hi;
    if (hi - lo < 32) return;
    std::array<uchar, 256> map{};
    for (int v = 0; v < 256; ++v)
        map[v] = uchar(std::clamp((v - lo) * 255 / (hi - lo), 0, 255));
    for (int y = 0; y < grey.height(); ++y) {
        uchar* row = grey.scanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            row[x] = map[row[x]];
    }
}

#if VARNOTH_TESSERACT
QString tessdataFolder()
{
    // The Windows package carries the language data beside the program.
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/tessdata");
    return QFileInfo::exists(beside + QStringLiteral("/tha.traineddata")) ? beside : QString();
}

// The lines of what the reader has just read, every box taken back into the picture by `back`.
QList<PictureLine> readLines(tesseract::TessBaseAPI& api, const QTransform& back, const QRect& whole)
{
    QList<PictureLine> lines;
    const auto boxOf = [&](tesseract::ResultIterator& it, tesseract::PageIteratorLevel level) {
        int left = 0, top = 0, right = 0, bottom = 0;
        it.BoundingBox(level, &left, &top, &right, &bottom);
        return back.mapRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))).intersected(whole);
    };
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it) return lines;
    do {
        if (it->Empty(tesseract::RIL_SYMBOL)) continue;
        if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE) || lines.isEmpty())
            lines.append(PictureLine{{}, boxOf(*it, tesseract::RIL_TEXTLINE)});
        PictureLine& line = lines.last();
        if (it->IsAtBeginningOf(tesseract::RIL_WORD) || line.words.isEmpty())
            line.words.append(PictureWord{takeText(it->GetUTF8Text(tesseract::RIL_WORD)),
                                          boxOf(*it, tesseract::RIL_WORD),
                                          it->Confidence(tesseract::RIL_WORD),
                                          {}});
        PictureSymbol symbol{
            takeText(it->GetUTF8Text(tesseract::RIL_SYMBOL)), it->Confidence(tesseract::RIL_SYMBOL), {}};
        tesseract::ChoiceIterator choice(*it);
        do {
            if (const char* text = choice.GetUTF8Text())
                symbol.choices.append({QString::fromUtf8(text), choice.Confidence()});
        } while (choice.Next());
        line.words.last().symbols.append(symbol);
    } while (it->Next(tesseract::RIL_SYMBOL));
    return lines;
}

bool cancelRequested(void* flag, int)
{
    return static_cast<const std::atomic_bool*>(flag)->load();
}
#endif

} // namespace

LoadedPicture loadPicture(const QString& path)
{
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return {{}, {}, PictureReadFailedText + name};
    if (file.size() > PictureMaxBytes) return {{}, {}, PictureTooLargeText + name};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return {{}, {}, PictureReadFailedText + name};
    return decode(bytes, name);
}

LoadedPicture pictureFromBytes(const QByteArray& bytes)
{
    if (bytes.size() > PictureMaxBytes) return {{}, {}, PictureTooLargeText};
    return decode(bytes, {});
}

LoadedPicture pictureFromImage(const QImage& image)
{
    if (image.isNull()) return {{}, {}, PictureReadFailedText};
    if (qint64(image.width()) * image.height() > PictureMaxPixels) return {{}, {}, PictureTooLargeText};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {image, QCryptographicHash::hash(png, QCryptographicHash::Sha256).toHex(), {}};
}

bool mayCorrectReading(const PictureLine& first, const PictureLine& again)
{
    QList<const PictureSymbol*> a, b;
    for (const PictureWord& w : first.words)
        for (const PictureSymbol& s : w.symbols)
            a << &s;
    for (const PictureWord& w : again.words)
        for (const PictureSymbol& s : w.symbols)
            b << &s;
    if (a.size() != b.size()) return false;
    const PictureDoubt doubt;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i]->text == b[i]->text) continue;
        if (a[i]->confidence >= doubt.symbol &&
            std::none_of(a[i]->choices.cbegin(), a[i]->choices.cend(), [&](const PictureSymbol::Choice& c) {
                return c.text != a[i]->text && c.confidence >= doubt.rival;
            }))
            return false; // sure the first time
        if (std::none_of(a[i]->choices.cbegin(), a[i]->choices.cend(), [&](const PictureSymbol::Choice& c) {
                return c.text == b[i]->text && c.confidence >= doubt.rival;
            }))
            return false; // a reading the first time never weighed
    }
    return true;
}

CleanPicture cleanPicture(const QImage& picture)
{
    CleanPicture c;
    QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const int longest = std::max(grey.width(), grey.height());
    if (longest > LongestSideRead)
        c.scale = double(LongestSideRead) / longest;
    else if (grey.width() < NarrowestRead)
        c.scale = std::min(2.0, double(NarrowestRead) / grey.width());
    if (c.scale != 1)
        grey = grey.scaled(int(grey.width() * c.scale), int(grey.height() * c.scale), Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation);
    evenContrast(grey);
    c.angle = skewOf(grey);
    if (std::abs(c.angle) >= 0.25) {
        QImage turned(grey.size(), QImage::Format_RGB32);
        turned.fill(Qt::white);
        QPainter painter(&turned);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(grey.width() / 2.0, grey.height() / 2.0);
        painter.rotate(-c.angle);
        painter.translate(-grey.width() / 2.0, -grey.height() / 2.0);
        painter.drawImage(0, 0, grey);
        painter.end();
        grey = turned.convertToFormat(QImage::Format_Grayscale8);
    } else {
        c.angle = 0;
    }
    c.image = grey;
    return c;
}

RecognizedPicture recognizePicture(const QImage& picture, const std::atomic_bool* cancel)
{
    RecognizedPicture r;
#if !VARNOTH_TESSERACT
    Q_UNUSED(picture);
    Q_UNUSED(cancel);
    r.error = PictureNoReaderText;
    return r;
#else
    const CleanPicture clean = cleanPicture(picture);
    if (clean.image.isNull()) return r;

    // Loading the Thai and English models takes a good part of a second: each thread keeps its reader.
    thread_local std::unique_ptr<tesseract::TessBaseAPI> reader;
    if (!reader) {
        auto fresh = std::make_unique<tesseract::TessBaseAPI>();
        const QByteArray data = QFile::encodeName(tessdataFolder());
        if (fresh->Init(data.isEmpty() ? nullptr : data.constData(), "tha+eng", tesseract::OEM_LSTM_ONLY) != 0) {
            r.error = PictureNoReaderText;
            return r;
        }
        // One column of lines of any size: a chat's bubbles, a slip. Left to find its own layout, the
        // recogniser takes a bubble's first lines for a picture and drops them.
        fresh->SetPageSegMode(tesseract::PSM_SINGLE_COLUMN);
        // Every character keeps the other readings the recogniser weighed, with their confidence.
        fresh->SetVariable("lstm_choice_mode", "2");
        reader = std::move(fresh);
    }
    tesseract::TessBaseAPI& api = *reader;
    api.SetImage(clean.image.constBits(), clean.image.width(), clean.image.height(), 1,
                 int(clean.image.bytesPerLine()));
    api.SetSourceResolution(300);
    tesseract::ETEXT_DESC monitor;
    if (cancel) {
        monitor.cancel = &cancelRequested;
        monitor.cancel_this = const_cast<std::atomic_bool*>(cancel);
    }
    const int failed = api.Recognize(&monitor);
    if (cancel && cancel->load()) {
        api.Clear();
        r.cancelled = true;
        return r;
    }
    if (failed != 0) {
        api.Clear();
        r.error = PictureReadFailedText;
        return r;
    }

    // Boxes go back into the picture's own pixels: undo the turn, then the scale.
    QTransform toClean;
    toClean.translate(clean.image.width() / 2.0, clean.image.height() / 2.0);
    toClean.rotate(-clean.angle);
    toClean.translate(-clean.image.width() / 2.0, -clean.image.height() / 2.0);
    toClean = QTransform::fromScale(clean.scale, clean.scale) * toClean;
    const QTransform back = toClean.inverted();

    r.lines = readLines(api, back, picture.rect());
    api.Clear();

    // The doubtful lines are read again at other sizes: much of the recogniser's doubt comes from
    // the size of the letters ("=" with "@" as a close second at one size, sure at another). A line
    // takes a new reading only when two of them are sure, say the same, and differ from the first
    // reading only where it was unsure and by a reading it weighed itself there. At some sizes the
    // recogniser is sure of a Thai digit it reads wrong ("๕๔๓" as "๕๕๓"): a text the first reading
    // did not consider is no correction. The lines are read together, one below the other with a
    // line's height between them, once per size: the recogniser's setting up for every picture
    // costs more than the lines themselves.
    struct Doubtful {
        qsizetype line;
        QImage piece; // in the cleaned picture
        QPoint at;
        QList<PictureLine> readings; // sure ones that may stand for the first
        bool done = false;
    };
    QList<Doubtful> doubtful;
    for (qsizetype i = 0; i < r.lines.size(); ++i) {
        const PictureLine& line = r.lines[i];
        if (!isDoubtful(line)) continue;
        const int margin = line.box.height() / 4;
        const QRect inClean =
            toClean.mapRect(line.box).adjusted(-margin, -margin, margin, margin).intersected(clean.image.rect());
        if (!inClean.isEmpty()) doubtful.append({i, clean.image.copy(inClean), inClean.topLeft(), {}, false});
    }
    for (const ReadingSize& size : SecondReadingSizes) {
        QList<qsizetype> open;
        QList<QRect> places; // where each open line lies in the sheet
        int width = 0, height = 0;
        for (qsizetype d = 0; d < doubtful.size(); ++d) {
            if (doubtful[d].done) continue;
            const QSize scaled(int(doubtful[d].piece.width() * size.x), int(doubtful[d].piece.height() * size.y));
            if (scaled.isEmpty()) continue;
            height += scaled.height(); // the gap above it
            open << d;
            places << QRect(QPoint(scaled.height(), height), scaled);
            height += scaled.height();
            width = std::max(width, 2 * scaled.height() + scaled.width());
        }
        if (open.isEmpty()) break;
        QImage sheet(width, height + (places.last().height()), QImage::Format_Grayscale8);
        sheet.fill(255);
        {
            QPainter painter(&sheet);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            for (qsizetype k = 0; k < open.size(); ++k)
                painter.drawImage(places[k], doubtful[open[k]].piece);
        }
        api.SetImage(sheet.constBits(), sheet.width(), sheet.height(), 1, int(sheet.bytesPerLine()));
        api.SetSourceResolution(300);
        const int again = api.Recognize(&monitor);
        if (cancel && cancel->load()) {
            api.Clear();
            r.lines.clear();
            r.cancelled = true;
            return r;
        }
        const QList<PictureLine> got = again == 0 ? readLines(api, QTransform(), sheet.rect()) : QList<PictureLine>{};
        api.Clear();
        for (qsizetype k = 0; k < open.size(); ++k) {
            // The line read in this piece of the sheet, when it is exactly one.
            const QRect room = places[k].adjusted(0, -places[k].height() / 2, sheet.width(), places[k].height() / 2);
            const PictureLine* one = nullptr;
            int count = 0;
            for (const PictureLine& l : got)
                if (room.intersects(l.box)) {
                    ++count;
                    if (room.contains(l.box)) one = &l;
                }
            if (count != 1 || !one) continue;
            Doubtful& d = doubtful[open[k]];
            const QTransform toPicture = QTransform::fromTranslate(-places[k].left(), -places[k].top()) *
                                         QTransform::fromScale(1 / size.x, 1 / size.y) *
                                         QTransform::fromTranslate(d.at.x(), d.at.y()) * back;
            PictureLine reading = *one;
            reading.box = toPicture.mapRect(reading.box).intersected(picture.rect());
            for (PictureWord& w : reading.words)
                w.box = toPicture.mapRect(w.box).intersected(picture.rect());
            PictureLine& line = r.lines[d.line];
            if (isDoubtful(reading) || !mayCorrectReading(line, reading)) continue;
            const QString text = pictureLineText(reading);
            const auto same = [&](const PictureLine& other) { return pictureLineText(other) == text; };
            if (std::any_of(d.readings.cbegin(), d.readings.cend(), same)) {
                line.words = reading.words;
                d.done = true;
            } else {
                d.readings << reading;
            }
        }
    }

    std::stable_sort(r.lines.begin(), r.lines.end(),
                     [](const PictureLine& a, const PictureLine& b) { return a.box.top() < b.box.top(); });
    return r;
#endif
}

} // namespace varnoth
