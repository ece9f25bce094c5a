#include "gui/audit/AuditWindow.h"

#include "app/Ledger.h"
#include "audit/audittexts.h"
#include "audit/replay.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "settings/options.h"
#include "app/bookreader.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

namespace varnoth
{

namespace
{

enum Column { Time, Operator, Action, Type, Customer, Number, Before, After, Entry, Running, Detail, ColumnCount };

// The choice of the action picker that shows only the bets stored after the result.
constexpr int AfterResultChoice = -2;
const QColor LateBetColour(176, 0, 0);

QString figure(double value)
{
    return QLocale::c().toString(value, 'f', 0);
}

} // namespace

void AuditModel::setSelection(std::shared_ptr<const AuditIndex> index, AuditSelection selection)
{
    beginResetModel();
    m_index = std::move(index);
    m_selection = std::move(selection);
    m_cache.clear();
    endResetModel();
}

int AuditModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_selection.rows.size());
}

int AuditModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

AuditRecord AuditModel::recordAt(int row) const
{
    if (!m_index || row < 0 || row >= rowCount()) return {};
    if (const auto cached = m_cache.constFind(row); cached != m_cache.cend()) return *cached;
    if (m_cache.size() > 2000) m_cache.clear();
    AuditRecord r;
    m_index->record(m_selection.rows[static_cast<size_t>(row)], r);
    m_cache.insert(row, r);
    return r;
}

QVariant AuditModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole) {
        const bool figures =
            index.column() == Before || index.column() == After || index.column() == Entry || index.column() == Running;
        return QVariant::fromValue(Qt::AlignVCenter | (figures ? Qt::AlignRight : Qt::AlignLeft));
    }
    // A bet stored after the result stands out from the bets keyed in time.
    if (role == Qt::ForegroundRole)
        return keyedAfterResult(recordAt(index.row())) ? QVariant(LateBetColour) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const AuditRecord r = recordAt(index.row());
    switch (index.column()) {
    case Time:
        return auditShownField(thaiStamp(r.time, m_years));
    case Operator:
        return auditShownField(r.operatorName == r.user ? r.operatorName
                                                        : r.operatorName + QStringLiteral(" (") + r.user + u')');
    case Action:
        return auditShownField(r.actionKey == auditActionKey(r.action) ? auditActionName(r.action) : r.actionKey);
    case Type:
        return auditShownField(r.type);
    case Customer:
        return auditShownField(r.customer);
    case Number:
        return auditShownField(r.number);
    case Before:
        return auditShownField(r.before);
    case After:
        return auditShownField(r.after);
    case Entry:
        return r.entry > 0 ? QVariant(r.entry) : QVariant();
    case Running: {
        const auto row = static_cast<size_t>(index.row());
        if (row >= m_selection.running.size() || std::isnan(m_selection.running[row])) return {};
        return figure(m_selection.running[row]);
    }
    case Detail:
        return auditShownField(r.detail);
    default:
        return {};
    }
}

QVariant AuditModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return AuditColumnTitles.value(section);
}

AuditWindow::AuditWindow(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Audit, parent), Combo1(new QComboBox(this)), Combo2(new QComboBox(this)),
      Text1(new QLineEdit(this)), Combo3(new QComboBox(this)), Check1(new QCheckBox(AuditSinceLabel, this)),
      Date1(new QDateTimeEdit(this)), Check2(new QCheckBox(AuditUntilLabel, this)), Date2(new QDateTimeEdit(this)),
      Command1(new QPushButton(AuditShowAllText, this)), Grid1(new QTableView(this)), Label1(new QLabel(this)),
      Label2(new QLabel(this)), m_model(new AuditModel(this))
{
    setObjectName(QStringLiteral("AuditWindow"));
    setWindowTitle(AuditWindowTitle);
    const std::pair<QWidget*, const char*> names[] = {{Combo1, "Combo1"}, {Combo2, "Combo2"}, {Text1, "Text1"},
                                                      {Combo3, "Combo3"}, {Check1, "Check1"}, {Date1, "Date1"},
                                                      {Check2, "Check2"}, {Date2, "Date2"},   {Grid1, "Grid1"},
                                                      {Label1, "Label1"}, {Label2, "Label2"}, {Command1, "Command1"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(QString::fromLatin1(name));

    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setMinimumContentsLength(10);
    Combo2->setMinimumContentsLength(8);
    Text1->setMaxLength(5);
    Text1->setMaximumWidth(twips(900));
    Combo3->addItem(AuditAllChoice, -1);
    for (int a = 0; a < AuditActionCount; ++a)
        Combo3->addItem(auditActionName(static_cast<AuditAction>(a)), a);
    Combo3->addItem(AuditAfterResultText, AfterResultChoice);
    const QDateTime now = QDateTime::currentDateTime();
    for (QDateTimeEdit* d : {Date1, Date2}) {
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
        d->setCalendarPopup(true);
        d->setEnabled(false);
    }
    Date1->setDateTime(QDateTime(now.date(), QTime(0, 0)));
    Date2->setDateTime(QDateTime(now.date(), QTime(23, 59)));
    Command1->hide();
    Command1->setAutoDefault(false);

    Grid1->setModel(m_model);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->verticalHeader()->hide();
    Grid1->verticalHeader()->setDefaultSectionSize(Grid1->fontMetrics().height() + 6);
    // Every row has the same height and the columns fixed widths: a million rows cost nothing to lay out.
    Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {135, 100, 85, 70, 90, 45, 65, 65, 50, 70};
    for (int c = 0; c < static_cast<int>(std::size(widths)); ++c)
        Grid1->setColumnWidth(c, widths[c]);
    Grid1->installEventFilter(this);

    auto* filters = new QHBoxLayout;
    const std::pair<QString, QWidget*> fields[] = {
        {AuditCustomerLabel, Combo1}, {AuditTypeLabel, Combo2}, {AuditNumberLabel, Text1}, {AuditActionLabel, Combo3}};
    for (const auto& [caption, widget] : fields) {
        filters->addWidget(new QLabel(caption, this));
        filters->addWidget(widget);
    }
    filters->addStretch();
    auto* span = new QHBoxLayout;
    span->addWidget(Check1);
    span->addWidget(Date1);
    span->addWidget(Check2);
    span->addWidget(Date2);
    span->addStretch();
    span->addWidget(Command1);
    auto* status = new QHBoxLayout;
    status->addWidget(Label1);
    status->addStretch();
    status->addWidget(Label2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(span);
    layout->addWidget(Grid1, 1);
    layout->addLayout(status);

    m_filterTimer.setSingleShot(true);
    m_filterTimer.setInterval(200);
    connect(&m_filterTimer, &QTimer::timeout, this, &AuditWindow::applyFilter);
    auto later = [this] { m_filterTimer.start(); };
    connect(Combo1, &QComboBox::editTextChanged, this, later);
    connect(Combo2, &QComboBox::currentIndexChanged, this, later);
    connect(Combo3, &QComboBox::currentIndexChanged, this, later);
    connect(Text1, &QLineEdit::textChanged, this, later);
    connect(Check1, &QCheckBox::toggled, Date1, &QWidget::setEnabled);
    connect(Check2, &QCheckBox::toggled, Date2, &QWidget::setEnabled);
    for (QCheckBox* c : {Check1, Check2})
        connect(c, &QCheckBox::toggled, this, later);
    for (QDateTimeEdit* d : {Date1, Date2})
        connect(d, &QDateTimeEdit::dateTimeChanged, this, later);
    connect(Command1, &QPushButton::clicked, this, &AuditWindow::showAll);
    connect(Grid1, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { showEntry(i.row()); });

    // Every change of the book adds lines: the window follows while it is open.
    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(300);
    connect(&m_reloadTimer, &QTimer::timeout, this, [this] {
        if (isVisible() && !m_drawRunning) reload();
    });
    auto follow = [this] { m_reloadTimer.start(); };
    connect(&ctx.ledger, &Ledger::bookChanged, this, follow);
    connect(&ctx.ledger, &Ledger::settingsChanged, this, follow);
    connect(&ctx.ledger, &Ledger::customersChanged, this, follow);
    connect(&ctx.ledger, &Ledger::historyChanged, this, follow);
    // The log is mapped while it is shown; a new draw moves it into the draw's copy, which Windows
    // refuses for a mapped file. Let go of it now and read the log again once the draw is done.
    // The draw lets events through while it copies; a reload due then must wait for its end.
    connect(&ctx.ledger, &Ledger::newDrawStarting, this, [this] {
        m_drawRunning = true;
        m_reloadTimer.stop();
        stopCheck();
        m_index = std::make_shared<AuditIndex>();
        applyFilter();
    });
    connect(&ctx.ledger, &Ledger::newDrawEnded, this, [this] {
        m_drawRunning = false;
        m_reloadTimer.start();
    });

    refillPickLists(typeNames(), ctx.book.customers());
}

AuditWindow::~AuditWindow()
{
    stopCheck();
}

void AuditWindow::setUp()
{
    reload();
}

void AuditWindow::refillPickLists(const QStringList& types, const QStringList& customers)
{
    const QSignalBlocker b1(Combo1), b2(Combo2);
    const QString customer = Combo1->currentText(), type = Combo2->currentText();
    QStringList names;
    for (const QString& c : customers)
        if (!c.isEmpty()) names << c;
    Combo1->clear();
    Combo1->addItem(AuditAllChoice);
    Combo1->addItems(names);
    Combo1->setEditText(customer.isEmpty() ? AuditAllChoice : customer);
    Combo2->clear();
    Combo2->addItem(AuditAllChoice);
    Combo2->addItems(types);
    Combo2->setCurrentIndex(std::max(0, Combo2->findText(type)));
}

AuditFilter AuditWindow::filter() const
{
    AuditFilter f;
    const QString customer = CleanName(Combo1->currentText());
    if (customer != AuditAllChoice) f.customer = customer;
    if (Combo2->currentIndex() > 0) f.type = Combo2->currentText();
    f.number = Text1->text().trimmed();
    f.action = Combo3->currentData().toInt();
    if (f.action == AfterResultChoice) {
        f.action = -1;
        f.afterResult = true;
    }
    if (Check1->isChecked()) f.since = Date1->dateTime();
    if (Check2->isChecked()) f.until = Date2->dateTime().addSecs(59); // to the end of the minute shown
    return f;
}

void AuditWindow::stopCheck()
{
    if (!m_check) return;
    m_cancel->store(true);
    m_check->wait();
    delete m_check;
    m_check = nullptr;
}

void AuditWindow::reload()
{
    stopCheck();
    m_model->setYears(ctx.book.yearStyle());
    auto index = std::make_shared<AuditIndex>();
    if (!index->load(ctx.ledger.auditLogPath())) {
        Label2->setText(AuditCannotReadText + BookReader::shownFileName(ctx.ledger.auditLogPath()));
        m_index = std::make_shared<AuditIndex>();
        applyFilter();
        return;
    }
    m_index = index;
    applyFilter();

    // The check reads the whole log; the list is there at once and the check's verdict follows.
    Label2->setText(AuditCheckingText);
    Label2->setStyleSheet(QString());
    m_cancel = std::make_shared<std::atomic_bool>(false);
    auto verdict = std::make_shared<AuditVerification>();
    const bool missing = ctx.book.auditLogMissing(*index);
    const AuditKey key = ctx.ledger.auditKey();
    const QString anchor = ctx.ledger.auditAnchorFile();
    m_check = QThread::create([index, cancel = m_cancel, verdict, key, anchor] {
        *verdict = verifyAudit(*index, cancel.get(), key);
        checkAuditAnchor(*verdict, *index, anchor);
    });
    connect(m_check, &QThread::finished, this, [this, index, verdict, missing, cancel = m_cancel] {
        if (cancel->load()) return;
        verdict->missing = missing;
        QStringList lines = verificationLines(*verdict);
        // The files are read here, where the book is: what the log says it holds, against them.
        const AuditReplay replay = ctx.book.replayAudit(*index, cancel.get());
        const QStringList replayed = replayLines(replay);
        // The status line names the first few; the whole list is its tool tip.
        constexpr qsizetype shown = 3;
        lines += replayed.mid(0, shown);
        if (replayed.size() > shown) lines << ReplayMoreText.arg(replayed.size() - shown);
        Label2->setText(lines.join(QStringLiteral("  ")));
        Label2->setToolTip(replayed.join(QLatin1Char('\n')));
        const bool failed = verdict->failed() || replay.failed();
        Label2->setStyleSheet(failed ? QStringLiteral("color: #b00000; font-weight: bold;") : QString());
    });
    m_check->start();
}

void AuditWindow::waitForCheck()
{
    if (m_check) m_check->wait();
    QCoreApplication::processEvents();
}

void AuditWindow::applyFilter()
{
    m_filterTimer.stop();
    AuditFilter f = filter();
    if (m_entry > 0) {
        // The whole entry, whatever else narrows the list.
        f = {};
        f.entry = m_entry;
    }
    m_model->setSelection(m_index, selectAudit(*m_index, f));
    showCount();
}

void AuditWindow::showCount()
{
    QString text =
        AuditCountText.arg(QLocale::c().toString(m_model->rowCount()), QLocale::c().toString(m_index->lineCount()));
    if (m_entry > 0) text = AuditEntryCaption.arg(m_entry) + QStringLiteral("  ") + text;
    Label1->setText(text);
}

void AuditWindow::showEntry(int row)
{
    const AuditRecord r = m_model->recordAt(row);
    if (r.entry <= 0) return;
    m_entry = r.entry;
    Command1->show();
    applyFilter();
}

void AuditWindow::showAll()
{
    m_entry = 0;
    Command1->hide();
    applyFilter();
}

bool AuditWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Grid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (Grid1->currentIndex().isValid()) showEntry(Grid1->currentIndex().row());
            return true;
        }
        if (key == Qt::Key_Backspace && m_entry > 0) {
            showAll();
            return true;
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

} // namespace varnoth
