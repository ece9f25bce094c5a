#pragma once
// The owner's list of users: add one with a role and a PIN, remove one, give one a new PIN. Every change
// goes through the ledger, which refuses it for anyone but the owner.

#include "core/model/outcome.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace varnoth
{

class Ledger;

class UsersWindow : public QDialog
{
    Q_OBJECT
public:
    explicit UsersWindow(Ledger& ledger, QWidget* parent = nullptr);

private:
    void reload();
    void show(const ChangeResult& result, const QString& done);

    Ledger& m_ledger;
    QListWidget* m_list;
    QLineEdit* m_name;
    QComboBox* m_role;
    QLineEdit* m_pin;
    QLabel* m_message;
};

} // namespace varnoth
