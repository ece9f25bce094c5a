#pragma once
// What a change of the book touched, in the book's own terms: the types and customers whose stakes,
// counts or send-out lines changed, the settings that changed, whether the customer list changed,
// or "everything" when a change cannot be followed exactly (another program rewrote the book, the
// journal lost its place). Windows refresh only what a change names.

#include <QSet>
#include <QString>

namespace varnoth
{

// The book's files of settings and records besides the number files, one each.
enum class BookSetting {
    Limit,     // the numbers' limits
    Result,    // the draw's result
    Rate,      // the pay rates of the types
    NumberCut, // the number cuts
    Discount,  // the discounts of the types
    DigitCut,  // the digit cuts
    History,   // the past results
    Options,   // the book's options
    Rules,     // the number rules
    OwnRates,  // the customers' own rates
    Payments,  // the customers' payments
};
inline constexpr int BookSettingCount = 11;

struct Changes {
    QSet<QString> types;     // stakes, counts or send-out lines of these types
    QSet<QString> customers; // stakes of these customers
    quint32 settings = 0;    // one bit per BookSetting
    bool customerList = false;
    bool everything = false;

    static Changes all()
    {
        Changes c;
        c.everything = true;
        return c;
    }
    void addSetting(BookSetting s) { settings |= 1u << static_cast<int>(s); }
    bool hasSetting(BookSetting s) const { return everything || (settings & (1u << static_cast<int>(s))); }
    bool hasType(const QString& type) const { return everything || types.contains(type); }
    bool hasCustomer(const QString& customer) const { return everything || customers.contains(customer); }
    bool isEmpty() const
    {
        return !everything && !customerList && settings == 0 && types.isEmpty() && customers.isEmpty();
    }
    void merge(const Changes& other)
    {
        types.unite(other.types);
        customers.unite(other.customers);
        settings |= other.settings;
        customerList = customerList || other.customerList;
        everything = everything || other.everything;
    }
    bool operator==(const Changes&) const = default;
};

} // namespace varnoth
