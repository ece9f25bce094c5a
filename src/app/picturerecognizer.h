#pragma once
// Reading the text of a picture with Tesseract (Thai and English): the picture is cleaned for reading
// (grey, dark text on light, contrast evened, scaled, straightened), read, and every line comes back
// with its words, their boxes in the picture's own pixels, and what Tesseract knows of its doubt.
// No window here: the batch job and the paste window share it, and it runs on any thread.

#include "entry/pictureread.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <atomic>

namespace varnoth
{

// The largest picture taken: a phone screenshot (1440 x 3200) or a 12 MP photo, with room to spare.
inline constexpr qint64 PictureMaxPixels = 50LL * 1000 * 1000;
inline constexpr qint64 PictureMaxBytes = 64LL * 1024 * 1024;

struct LoadedPicture {
    QImage image;
    QByteArray digest; // SHA-256 of the file's bytes, lower-case hex
    QString error;     // a Thai line when the picture cannot be read
};

// Reads a PNG or JPEG file, or the bytes of one (a picture from the clipboard).
LoadedPicture loadPicture(const QString& path);
LoadedPicture pictureFromBytes(const QByteArray& bytes);
// A picture that exists only as an image (pasted): its digest is taken over its PNG encoding.
LoadedPicture pictureFromImage(const QImage& image);

// The picture as Tesseract reads it best, and the factor its coordinates were scaled by.
struct CleanPicture {
    QImage image; // Grayscale8
    double scale = 1;
    double angle = 0; // degrees the picture was turned by to straighten it
};
CleanPicture cleanPicture(const QImage& picture);

// Whether `again`, a sure second reading of a line, may stand for `first`: character for character
// the same, except where the first reading was unsure, and there only by a reading it weighed itself.
bool mayCorrectReading(const PictureLine& first, const PictureLine& again);

struct RecognizedPicture {
    QList<PictureLine> lines; // top to bottom
    QString error;            // a Thai line when the reader could not start
    bool cancelled = false;
};

// Reads the picture. `cancel`, when given, is polled while reading; setting it stops the reading
// soon and gives a result marked cancelled, with no lines.
RecognizedPicture recognizePicture(const QImage& picture, const std::atomic_bool* cancel = nullptr);

} // namespace varnoth
