#pragma once
// Chat messages drawn the way a phone shows them, for the tests of reading bets from a picture: a
// bubble on the chat's background, a font size, a light or dark theme, and the copies a picture
// goes through on its way (a JPEG sent on, a photo of the screen: turned, blurred, smaller).

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTransform>

namespace varnoth::test
{

struct ChatLook {
    int pixelSize = 44;
    bool dark = false;
    bool jpeg = false;  // saved as a JPEG of quality 55 and read back
    bool photo = false; // turned by 1.5 degrees, blurred and shrunk, as a photo of a screen
    QString family = QStringLiteral("Loma");
};

// A picture of the message as one bubble in a phone screenshot `width` pixels wide; the screenshot is
// at least `height` high.
inline QImage chatPicture(const QStringList& lines, const ChatLook& look, int width = 1080, int height = 0)
{
    QFont font(look.family);
    font.setPixelSize(look.pixelSize);
    const QFontMetrics fm(font);
    const int pad = look.pixelSize / 2;
    const int lineHeight = fm.lineSpacing() + look.pixelSize / 6;
    int textWidth = 0;
    for (const QString& l : lines)
        textWidth = std::max(textWidth, fm.horizontalAdvance(l));
    textWidth = std::min(textWidth, width - 6 * pad);
    const int top = 3 * pad;
    const QRect bubble(2 * pad, top, textWidth + 2 * pad, int(lines.size()) * lineHeight + 2 * pad);
    QImage image(width, std::max(height, bubble.bottom() + 3 * pad), QImage::Format_RGB32);
    image.fill(look.dark ? QColor(11, 20, 26) : QColor(221, 231, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QPainterPath path;
    path.addRoundedRect(bubble, pad, pad);
    p.fillPath(path, look.dark ? QColor(32, 44, 51) : QColor(255, 255, 255));
    p.setFont(font);
    p.setPen(look.dark ? QColor(233, 237, 239) : QColor(17, 27, 33));
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QRect(bubble.left() + pad, bubble.top() + pad + i * lineHeight, textWidth, lineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    p.end();

    if (look.photo) {
        // A photo of the screen: slightly turned, out of focus, and smaller than the screen.
        QImage turned(image.size(), QImage::Format_RGB32);
        turned.fill(look.dark ? QColor(11, 20, 26) : QColor(221, 231, 240));
        QPainter t(&turned);
        t.setRenderHint(QPainter::SmoothPixmapTransform);
        t.translate(image.width() / 2.0, image.height() / 2.0);
        t.rotate(1.5);
        t.translate(-image.width() / 2.0, -image.height() / 2.0);
        t.drawImage(0, 0, image);
        t.end();
        image = turned.scaled(turned.width() / 2, turned.height() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .scaled(turned.width() * 2 / 3, turned.height() * 2 / 3, Qt::IgnoreAspectRatio,
                            Qt::SmoothTransformation);
    }
    if (look.jpeg || look.photo) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", look.photo ? 70 : 55);
        image = QImage::fromData(bytes, "JPEG");
    }
    return image;
}

// The messages of tests/entry/data/chat_messages.txt, each with the bets its customer meant
// ("type number amount").
struct MeantMessage {
    QString picked;
    QStringList lines;
    QStringList bets;
};

inline QList<MeantMessage> meantMessages(const QString& path)
{
    QFile file(path);
    QList<MeantMessage> messages;
    if (!file.open(QIODevice::ReadOnly)) return messages;
    bool inBets = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith('#')) continue;
        if (line.startsWith(QStringLiteral(">>> "))) {
            messages.append({line.mid(4) == QStringLiteral("-") ? QString() : line.mid(4), {}, {}});
            inBets = false;
        } else if (line == QStringLiteral("<<<")) {
            inBets = true;
        } else if (!messages.isEmpty() && !(inBets && line.isEmpty())) {
            (inBets ? messages.last().bets : messages.last().lines) << line;
        }
    }
    // A blank line closes each message in the file; it is no part of it.
    for (MeantMessage& m : messages)
        while (!m.lines.isEmpty() && m.lines.last().isEmpty())
            m.lines.removeLast();
    return messages;
}

} // namespace varnoth::test
