#pragma once
// The sign-in at start, after an idle lock, and the owner's PIN asked at a keyer's seat: a name from the
// list and a PIN. The ledger checks the PIN; the dialog shows its line when it is refused.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace varnoth
{

class Ledger;

class PinDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Purpose { SignIn, Unlock, OwnerPin };
    PinDialog(Ledger& ledger, Purpose purpose, QWidget* parent = nullptr);

    QComboBox* names() const { return m_names; }
    QLineEdit* pin() const { return m_pin; }
    QLabel* message() const { return m_message; }

public slots:
    void accept() override;

private:
    Ledger& m_ledger;
    Purpose m_purpose;
    QComboBox* m_names;
    QLineEdit* m_pin;
    QLabel* m_message;
};

} // namespace varnoth
