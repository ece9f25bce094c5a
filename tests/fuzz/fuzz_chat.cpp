// Pasted chat messages: any text is read without a crash, and whatever is read as a bet is a bet the
// book can hold. The reader is pure, so no data folder is needed.
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/chat.h"
#include "fuzzsupport.h"

using namespace varnoth;

namespace
{

bool digitsOnly(const QString& s)
{
    return !s.isEmpty() && DigitsOnly(s) == s;
}

void check(const ChatParse& p)
{
    double total = 0;
    for (const ChatLine& line : p.lines) {
        if (line.kind != ChatLineKind::Bets && !line.bets.isEmpty()) std::abort();
        if ((line.kind == ChatLineKind::NotUnderstood) != (line.problem != ChatProblem::None)) std::abort();
        for (const ChatBet& b : line.bets) {
            const NumberSetKind kind = classifyType(b.type);
            if (typeIndex(b.type) < 0 || kind.digits != b.number.size() || !digitsOnly(b.number)) std::abort();
            if (kind.ascending && SortDigits(b.number) != b.number) std::abort();
            if (!digitsOnly(b.amount) || b.amount.startsWith(QLatin1Char('0')) || b.amount.size() > 9) std::abort();
            total += Val(b.amount);
        }
    }
    if (total != p.total) std::abort();
    if (p.customer.contains(QLatin1Char('#')) || p.customer.contains(QLatin1Char(' ')) ||
        p.customer.contains(QLatin1Char('\n')) || p.customer.contains(QLatin1Char('\r')))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 20000) return 0;
    const QString text = fuzz::text(data, size);
    const QString type = size % 13 == 12 ? QString() : typeNames()[size % 13];
    const ChatParse p = parseChat(text, type);
    check(p);
    // The same message with its lines ended by CR LF reads the same.
    QString crlf = text;
    crlf.replace(QStringLiteral("\r"), QString()).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    if (!text.contains(QLatin1Char('\r')) && parseChat(crlf, type).bets() != p.bets()) std::abort();
    // Raw UTF-16 code units, lone surrogates included.
    check(parseChat(QString(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2)), type));
    return 0;
}
