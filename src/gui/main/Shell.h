#pragma once
// What the main window offers the other windows: its list, its status bar and progress bar, the
// opening and closing of windows, and what the operator is keying. The windows see this and the
// ledger; they never see the main window itself, and never each other.

#include "gui/main/windows.h"

#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace varnoth
{

class SecondaryWindow;

class Shell
{
public:
    virtual ~Shell() = default;

    // The main list.
    virtual void addLines(const QStringList& lines) = 0;
    virtual void clearList() = 0;
    virtual QStringList listRows() const = 0;
    // One row: "" past the end; a replaced row becomes the current one.
    virtual QString listRow(int index) const = 0;
    virtual void replaceListRow(int index, const QString& text) = 0;
    virtual void removeListRow(int index) = 0;
    // The status bar and the progress bar.
    virtual void showStatus(const QString& text) = 0;
    virtual void hideProgress() = 0;
    // Windows.
    virtual SecondaryWindow* openWindow(WindowId id) = 0;
    virtual SecondaryWindow* loadedWindow(WindowId id) const = 0;
    virtual void closeWindow(WindowId id) = 0;
    virtual void closeSecondaryWindows() = 0;
    // The type and customer drop-downs are filled again from the book.
    virtual void refreshPickLists() = 0;
    // The stakes of a type and customer, under their heading, in place of the list.
    virtual void showCustomerBets(const QString& type, const QString& customer) = 0;
    // The total boxes, for the pair being keyed and the whole book.
    virtual void refreshTotals() = 0;
    // The type being keyed in the main window.
    virtual QString keyedType() const = 0;
    // The customer being keyed in the main window (cleaned; "" when none).
    virtual QString keyedCustomer() const = 0;
    // The caption of the send-out button: what saving will do next.
    virtual QString sendOutCaption() const = 0;
    virtual void setSendOutCaption(const QString& caption) = 0;
    // Edit and delete wait for a record row to be picked again.
    virtual void disableRecordActions() = 0;
    // The window the others are placed over.
    virtual const QWidget* anchorWidget() const = 0;
    // Where the main list is on the screen, for a window that must leave it in sight (empty: anywhere).
    virtual QRect mainListArea() const { return {}; }
};

} // namespace varnoth
