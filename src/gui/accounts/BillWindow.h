#pragma once
// The bill window: a customer's bill (or everyone's) in the main list, on the printer, in a PDF file
// and as pictures for the phone; payments over his account; and what every customer still owes.

#include "gui/main/SecondaryWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varnoth
{

class BillWindow : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit BillWindow(AppContext& context, QWidget* parent = nullptr);
    void refillPickLists(const QStringList& types, const QStringList& customers) override;
    // Fills the customer picker from the book.
    void setUp() override;

    QLabel* Label1;
    QComboBox* Combo1;     // the customer, or "ทั้งหมด", picked or typed
    QPushButton* Command1; // show
    QPushButton* Command2; // print
    QPushButton* Command3; // PDF
    QPushButton* Command4; // pictures
    QLabel* Label2;
    QLineEdit* Text1;      // an amount paid
    QPushButton* Command5; // pay that amount
    QPushButton* Command6; // pay all
    QPushButton* Command7; // what is owed
    QPushButton* Command8; // the bill's picture to the clipboard
    QLabel* Label3;
    QLineEdit* Text2;       // a bill's seal to check
    QPushButton* Command9;  // check it
    QLabel* Label4;         // what the check found
    QPushButton* Command10; // the slip of the customer's newest entry

    void showBills();
    void printBills();
    void saveBillsPdf();
    void saveBillPictures();
    void pay(bool all);
    void showOwed();
    void copyPicture();
    void checkSeal();
    void printEntrySlip();

private:
    // The lines of every bill picked, and whose each is.
    struct Picked {
        QList<QStringList> pages;
        QStringList customers;
    };
    Picked picked();
    void say(const QStringList& lines);
    // The paper the book's setting names for printed bills.
    bool onRoll() const;
    // The slips on the default printer, or into a PDF among the printouts where there is none.
    void printSlips(const Picked& p, const QDateTime& now);
    // Pages on the printer the way the paper setting says: slips on a roll, or A4 pages.
    void printPages(const Picked& p);
};

} // namespace varnoth
