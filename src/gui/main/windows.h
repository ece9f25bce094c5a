#pragma once
// The secondary windows by their numbers, and the job a window that serves several is opened for.

#include <QtGlobal>

namespace varnoth
{

// The windows by the number they have always had.
enum class WindowId : quint8 {
    Backup = 3,       // backup, restore and the new draw (Form3)
    Print = 4,        // printing (Form4)
    FilePicker = 5,   // file entry (Form5)
    View = 6,         // view and search (Form6)
    Record = 7,       // edit or delete a record (Form7)
    Result = 8,       // the drawn numbers (Form8)
    OverLimit = 9,    // over-limit (Form9)
    Readme = 10,      // the guide (Form10)
    Settings = 11,    // the keyed settings (Form11)
    Calculator = 12,  // the calculator (Form12)
    GroupEntry = 13,  // group entry (Form13)
    Prize = 14,       // prize check, analysis, statistics (Form14)
    Cutting = 15,     // number and digit cuts (Form15)
    Customers = 18,   // customers and send-out history (Form18)
    ExposureMap = 19, // the exposure map
    NumberRules = 20, // limits, closed numbers and reduced pay per number
    Bill = 21,        // bills, payments and what is owed
    DrawHistory = 22, // the past draws
    ChatPaste = 23,   // bets pasted from a chat message
    Audit = 24,       // the audit log
    Users = 25,       // the shop's users and their PINs
    Dealers = 26,     // the upstream dealers, their terms and accounts
};

// One past the highest window number.
inline constexpr int WindowIdEnd = 27;

// The job a shared window does. The opener sets it just before it opens the window, and it keeps
// its value until the next opener sets another: the over-limit window's caption shows what the last
// action left. One value means a different job in each window, so each job has its own name here;
// names of one value are aliases.
enum class WindowMode : quint8 {
    None = 0, // nothing set since the program started

    PrintList = 1,     // print window: the main list
    GroupPackage = 1,  // group entry: a typed sheet ("Package")
    CustomerNames = 1, // customers window: the customer names
    PrizeCheck = 1,    // result window: the prize check
    CheckLimit = 1,    // over-limit window: captioned "Check Limit"

    PrintReadme = 2,  // print window: the guide (any value but PrintList prints it)
    GroupFile = 2,    // group entry: the lines of a picked file ("File")
    SendOutLists = 2, // customers window: the saved send-out lists, to open or to save
    Analysis = 2,     // result window: the analysis
    Over = 2,         // over-limit window: captioned "Over" (as for any value but CheckLimit)

    Statistics = 3, // result window: the statistics

    // The settings window: which keyed settings it lists.
    Rates = 3,
    NumberCuts = 4,
    Discounts = 5,
    Limits = 6,
    DigitCuts = 7,
    BookOptions = 8, // the settings of the whole book
};

} // namespace varnoth
