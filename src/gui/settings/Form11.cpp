#include "gui/settings/Form11.h"

#include "app/bookreader.h"
#include "app/Ledger.h"
#include "gui/main/Shell.h"
#include "gui/main/pickerentries.h"
#include "gui/main/session.h"
#include "settings/keyed.h"
#include "settings/options.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace varnoth
{

namespace
{

// The type (or option) an item of the list is about.
QString itemKey(const QString& item)
{
    return item.section(QStringLiteral(" - "), 0, 0);
}

} // namespace

Form11::Form11(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Settings, parent), Label1(new QLabel(QStringLiteral("ประเภทหวย"), this)),
      Label4(new QLabel(this)), List1(new QListWidget(this)), Label2(new QLabel(this)), Text1(new QLineEdit(this)),
      Text2(new QLineEdit(this)), Label3(new QLabel(QStringLiteral("คลิกที่รายการเพื่อแก้ไข"), this)),
      Command2(new QPushButton(QStringLiteral("บันทึก"), this)), Command1(new QPushButton(QStringLiteral("ยกเลิก"), this))
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Debit"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label4->setObjectName(QStringLiteral("Label4"));
    List1->setObjectName(QStringLiteral("List1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2->setObjectName(QStringLiteral("Text2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1->setObjectName(QStringLiteral("Command1"));
    const QString digits[3] = {QStringLiteral("หลักร้อย"), QStringLiteral("หลักสิบ"), QStringLiteral("หลักหน่วย")};
    for (int i = 0; i < 3; ++i) {
        Check1[i] = new QCheckBox(digits[i], this);
        Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
    }
    for (QPushButton* b : {Command1, Command2})
        b->setAutoDefault(false);

    place(Label4, 60, 60, 3255, 270);
    place(List1, 60, 360, 3255, 2940);
    place(Label1, 60, 2040, 1575, 240);
    place(Text1, 60, 2280, 1575, 330);
    place(Label2, 1740, 2040, 1575, 240);
    place(Text2, 1740, 2280, 1575, 330);
    for (int i = 0; i < 3; ++i)
        place(Check1[i], 1740, 660 + i * 300, 1575, 270);
    place(Command2, 60, 2760, 1575, 400);
    place(Command1, 1740, 2760, 1575, 400);
    place(Label3, 60, 3330, 3255, 240);

    hoverHighlight(Command2, QColor(0, 192, 0), {Command1});
    hoverHighlight(Command1, QColor(255, 0, 0), {Command2});
    connect(List1, &QListWidget::itemClicked, this, &Form11::beginEdit);
    // Without the mouse: Enter, or an arrow key that picks another row, edits the picked row.
    connect(List1, &QListWidget::itemActivated, this, &Form11::beginEdit);
    connect(List1, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (List1->hasFocus()) beginEdit(item);
    });
    selectAllOnFocus(Text2);
    connect(Command2, &QPushButton::clicked, this, &Form11::SaveSetting);
    connect(Command1, &QPushButton::clicked, this, &Form11::showListView);
    connect(Text2, &QLineEdit::returnPressed, Command2, &QPushButton::click);
    showListView();
}

bool Form11::digitCut() const
{
    return m_mode == WindowMode::DigitCuts;
}

bool Form11::bookOptionsMode() const
{
    return m_mode == WindowMode::BookOptions;
}

void Form11::setUp()
{
    m_mode = ctx.session.WindowMode;
    const std::optional<SettingKind> kind = settingKindFor(m_mode);
    const SettingMode* mode = kind ? &settingMode(*kind) : nullptr;
    const bool options = bookOptionsMode();
    reload(false);
    {
        const QSignalBlocker keep(List1);
        List1->setCurrentRow(0); // a row is picked from the start: Enter edits it, an arrow the next
    }
    if (mode) {
        setWindowTitle(mode->caption);
        Label4->setText(mode->heading);
    }
    // The book options are named by their caption, which is not edited; the others by a type.
    if (options) {
        setWindowTitle(OptionsPickerEntry);
        Label4->setText(OptionsHeading);
    }
    Label1->setText(options ? OptionsNameLabel : QStringLiteral("ประเภทหวย"));
    Text1->setReadOnly(options);
    showListView();
}

QStringList Form11::listItems() const
{
    if (bookOptionsMode()) return ctx.book.optionItems();
    const std::optional<SettingKind> kind = settingKindFor(m_mode);
    return kind ? ctx.book.settingsList(*kind) : QStringList();
}

void Form11::reload(bool keepRows)
{
    const QStringList fresh = listItems();
    QList<int> rows;
    QList<bool> taken(fresh.size(), false);
    if (keepRows) {
        for (int item : std::as_const(m_rows)) {
            const QString key = itemKey(m_items.value(item));
            for (int i = 0; i < fresh.size(); ++i) {
                if (taken[i] || itemKey(fresh[i]) != key) continue;
                taken[i] = true;
                rows << i;
                break;
            }
        }
    }
    for (int i = 0; i < fresh.size(); ++i)
        if (!taken[i]) rows << i;
    m_items = fresh;
    m_rows = rows;
    const QSignalBlocker refill(List1);
    List1->clear();
    for (int item : std::as_const(m_rows))
        List1->addItem(m_items[item]);
}

bool Form11::editing() const
{
    return !Command2->isHidden();
}

void Form11::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && editing()) {
        showListView();
        return;
    }
    SecondaryWindow::keyPressEvent(event);
}

void Form11::showListView()
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Text1, Label2, Text2, Check1[0], Check1[1], Check1[2],
                                                      Command1, Command2})
        w->hide();
    List1->resize(twips(3255), twips(2940));
    Label3->show();
    List1->setFocus();
}

void Form11::beginEdit(QListWidgetItem* item)
{
    if (!item) return;
    const std::optional<SettingKind> kind = settingKindFor(m_mode);
    const SettingMode* mode = kind ? &settingMode(*kind) : nullptr;
    List1->resize(List1->width(), twips(1530));
    Text1->resize(twips(1575), Text1->height());
    Text1->clear();
    Text2->clear();
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Text1, Label2, Text2, Label3, Command1, Command2})
        w->show();
    Label2->move(Label2->x(), twips(2040));
    for (QCheckBox* c : Check1) {
        c->setChecked(false);
        c->hide();
    }
    if (mode) Label2->setText(mode->valueLabel);
    if (bookOptionsMode()) Label2->setText(OptionsValueLabel);
    if (digitCut()) {
        Label2->move(Label2->x(), twips(360));
        Label3->hide();
        Text2->hide();
        List1->resize(twips(1575), List1->height());
        for (QCheckBox* c : Check1)
            c->show();
    } else {
        List1->resize(twips(3255), List1->height());
    }
    EditIndex = List1->row(item);
    SettingEdit edit = varnoth::beginEdit(item->text());
    const int option = itemIndex(EditIndex);
    if (bookOptionsMode() && option >= 0 && option < bookOptions().size()) {
        // A shop name may hold " - "; the option's own value is read, not the item's text.
        edit.type = bookOptions()[option].caption;
        edit.value = ctx.book.optionEditText(bookOptions()[option].key);
    }
    Text1->setText(edit.type);
    Text2->setText(edit.value);
    if (digitCut())
        for (int i = 0; i < 3; ++i)
            Check1[i]->setChecked(edit.digits[i]);
    if (digitCut())
        Check1[0]->setFocus();
    else
        Text2->setFocus();
    Text2->selectAll();
}

void Form11::SaveSetting()
{
    SettingEdit edit;
    edit.type = Text1->text();
    edit.value = Text2->text();
    for (int i = 0; i < 3; ++i)
        edit.digits[i] = Check1[i]->isChecked();
    // The file is written in its own order, whatever order the rows stand in.
    const int item = itemIndex(EditIndex);
    const std::optional<SettingKind> kind = settingKindFor(m_mode);
    ChangeResult result;
    if (bookOptionsMode())
        result = ctx.ledger.setOption(optionKeyAt(item), edit.value.trimmed());
    else if (kind)
        result = ctx.ledger.saveSetting(*kind, m_items, item, edit);
    if (ctx.shell) ctx.shell->addLines(result.lines);
    const int saved = EditIndex;
    reload(true);
    {
        // The highlight stays on the row just saved, so the arrow keys go on from there. It is set
        // before the list takes the focus back, which would otherwise pick the first row and edit it.
        const QSignalBlocker keep(List1);
        List1->setCurrentRow(saved);
    }
    showListView();
}

} // namespace varnoth
