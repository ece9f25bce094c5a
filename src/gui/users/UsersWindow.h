#pragma once
// The owner's list of users: add one with a role and a PIN, remove one, give one a new PIN. Every change
// goes through the ledger, which refuses it for anyone but the owner (and then asks his PIN). The first
// user of a book, the owner, is made here too.

#include "core/model/outcome.h"
#include "gui/main/SecondaryWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace varnoth
{

class Ledger;

class UsersWindow : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit UsersWindow(AppContext& context, QWidget* parent = nullptr);
    void setUp() override { reload(); }

private:
    void reload();
    void report(const ChangeResult& result, const QString& done);

    Ledger& m_ledger;
    QListWidget* m_list;
    QLineEdit* m_name;
    QComboBox* m_role;
    QLineEdit* m_pin;
    QLabel* m_message;
};

} // namespace varnoth
