#include "gui/main/ChatPasteWindow.h"

#include "app/Ledger.h"
#include "app/picturerecognizer.h"
#include "core/model/customername.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/chattexts.h"
#include "entry/picturetexts.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "app/bookreader.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QTextBlock>
#include <QThread>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace varnoth
{

namespace
{

const QColor Red(200, 0, 0);
const QColor Grey(110, 110, 110);
const QColor Ink(0, 0, 0);

QString describe(const ChatLine& line)
{
    switch (line.kind) {
    case ChatLineKind::Customer:
        return ChatCustomerRowText;
    case ChatLineKind::Heading:
        return ChatHeadingRowText;
    case ChatLineKind::Total:
        return ChatTotalRowText;
    case ChatLineKind::Bets:
        return ChatAmountAboveRowText; // "ตัวละ 50" under a row of numbers: the bets are on their lines
    default:
        return {};
    }
}

// The picture files among what is dragged onto the window.
QString droppedPicture(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls()) return {};
    for (const QUrl& url : mime->urls()) {
        const QString path = url.toLocalFile();
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix == QLatin1String("png") || suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
            return path;
    }
    return {};
}

// The line a row comes from, in the picture: a frame around each of its words.
const QColor FrameColour(230, 0, 0);

} // namespace

int ChatModel::firstRowOf(int line) const
{
    for (qsizetype r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].line == line) return static_cast<int>(r);
    return -1;
}

void ChatModel::setParse(const ChatParse* parse)
{
    beginResetModel();
    m_parse = parse;
    m_rows.clear();
    for (int i = 0; parse && i < parse->lines.size(); ++i) {
        const ChatLine& line = parse->lines[i];
        if (line.kind == ChatLineKind::Empty) continue;
        if (line.kind == ChatLineKind::Bets && !line.bets.isEmpty()) {
            for (int b = 0; b < line.bets.size(); ++b)
                m_rows.append({i, b});
        } else {
            m_rows.append({i, -1});
        }
    }
    endResetModel();
}

int ChatModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ChatModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ChatModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case LineColumn:
        return ChatLineColumn;
    case TypeColumn:
        return ChatTypeColumn;
    case NumberColumn:
        return ChatNumberColumn;
    case AmountColumn:
        return ChatAmountColumn;
    default:
        return {};
    }
}

QVariant ChatModel::data(const QModelIndex& index, int role) const
{
    if (!m_parse || !index.isValid() || index.row() >= m_rows.size()) return {};
    const Row& row = m_rows[index.row()];
    const ChatLine& line = m_parse->lines[row.line];
    const bool red = line.kind == ChatLineKind::NotUnderstood;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (index.column() == LineColumn) return row.bet <= 0 ? line.text : QString();
        if (row.bet < 0) {
            if (index.column() != TypeColumn) return {};
            return red ? ChatNotUnderstoodText + QStringLiteral(": ") + chatProblemText(line.problem) : describe(line);
        }
        if (index.column() == TypeColumn) return line.bets[row.bet].type;
        if (index.column() == NumberColumn) return line.bets[row.bet].number;
        return formatCount(Val(line.bets[row.bet].amount));
    case Qt::DecorationRole:
        // Beside a line not understood, the piece of the picture it was read from.
        if (red && index.column() == LineColumn) return m_pieces.value(row.line);
        return {};
    case Qt::ForegroundRole:
        return red ? Red : row.bet < 0 ? Grey : Ink;
    case Qt::TextAlignmentRole:
        return index.column() >= NumberColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags ChatModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_parse && index.isValid() && index.column() == LineColumn && index.row() < m_rows.size() &&
        m_parse->lines[m_rows[index.row()].line].kind == ChatLineKind::NotUnderstood)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ChatModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const int line = m_rows[index.row()].line;
    const QString text = value.toString();
    // The rows are made again from the message; let the editor that sent this finish first.
    QTimer::singleShot(0, this, [this, line, text] { emit lineEdited(line, text); });
    return true;
}

ChatPasteWindow::ChatPasteWindow(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::ChatPaste, parent), Combo1(new QComboBox(this)), Combo2(new QComboBox(this)),
      Text1(new QPlainTextEdit(this)), Grid1(new QTableView(this)), Label1(new QLabel(this)), Label2(new QLabel(this)),
      Command1(new QPushButton(ChatCommitText, this)), Command2(new QPushButton(ChatClearText, this)),
      Command3(new QPushButton(PictureOpenText, this)), Command4(new QPushButton(PictureCancelText, this)),
      Picture1(new QGraphicsView(this)), m_model(new ChatModel(this)), m_left(new QStackedWidget(this)),
      m_scene(new QGraphicsScene(this))
{
    setObjectName(QStringLiteral("ChatPasteWindow"));
    setWindowTitle(ChatWindowTitle);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command4->setObjectName(QStringLiteral("Command4"));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);
    Command3->setAutoDefault(false);
    Command4->setAutoDefault(false);
    Command4->hide();
    Picture1->setScene(m_scene);
    Picture1->setDragMode(QGraphicsView::ScrollHandDrag);
    Picture1->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    Picture1->viewport()->installEventFilter(this);
    Text1->installEventFilter(this);
    Text1->viewport()->installEventFilter(this);
    setAcceptDrops(true);

    Combo1->addItem(QString());
    Combo1->addItems(typeNames());
    Combo1->setMaxVisibleItems(13);
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    fillPicker(Combo2, ctx.book.customers(), false);

    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setPlaceholderText(ChatPasteLabel);
    Grid1->setModel(m_model);
    Grid1->verticalHeader()->hide();
    // Fixed row heights and column widths: the view never measures 30,000 rows.
    Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* columns = Grid1->horizontalHeader();
    columns->setSectionResizeMode(ChatModel::LineColumn, QHeaderView::Stretch);
    const QFontMetrics fm = fontMetrics();
    const int pad = 16;
    columns->resizeSection(ChatModel::TypeColumn, fm.horizontalAdvance(QStringLiteral("3ตัวโต๊ดหัว")) + pad);
    columns->resizeSection(ChatModel::NumberColumn, fm.horizontalAdvance(ChatNumberColumn + QStringLiteral("0")) + pad);
    columns->resizeSection(ChatModel::AmountColumn, fm.horizontalAdvance(QStringLiteral("1,000,000")) + pad);
    Grid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid1->setWordWrap(false);
    Label1->setWordWrap(true);

    auto* pair = new QHBoxLayout;
    pair->addWidget(new QLabel(ChatTypeLabel, this));
    pair->addWidget(Combo1, 1);
    pair->addWidget(new QLabel(ChatCustomerLabel, this));
    pair->addWidget(Combo2, 1);
    pair->addWidget(Label2, 1);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* hint = new QLabel(ChatResultLabel + QStringLiteral(" (") + ChatEditHint + QLatin1Char(')'), right);
    rightLayout->addWidget(hint);
    rightLayout->addWidget(Grid1, 1);
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(new QLabel(ChatPasteLabel, left));
    // The typed message, or the picture read in its place.
    m_left->addWidget(Text1);
    auto* picturePage = new QWidget(left);
    auto* pictureLayout = new QVBoxLayout(picturePage);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    auto* zoomIn = new QPushButton(PictureZoomInText, picturePage);
    auto* zoomOut = new QPushButton(PictureZoomOutText, picturePage);
    zoomIn->setObjectName(QStringLiteral("ZoomIn"));
    zoomOut->setObjectName(QStringLiteral("ZoomOut"));
    zoomIn->setAutoDefault(false);
    zoomOut->setAutoDefault(false);
    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(zoomOut);
    zoomRow->addWidget(zoomIn);
    zoomRow->addStretch(1);
    pictureLayout->addLayout(zoomRow);
    pictureLayout->addWidget(Picture1, 1);
    m_left->addWidget(picturePage);
    leftLayout->addWidget(m_left, 1);
    connect(zoomIn, &QPushButton::clicked, this, [this] { zoom(1.25); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { zoom(0.8); });
    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label1, 1);
    buttons->addWidget(Command4);
    buttons->addWidget(Command3);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pair);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    hoverHighlight(Command1, QColor(255, 192, 192), {Command2});
    hoverHighlight(Command2, QColor(255, 192, 192), {Command1});

    // A long paste is read once the operator stops typing, not at every key.
    m_reread.setSingleShot(true);
    m_reread.setInterval(150);
    connect(&m_reread, &QTimer::timeout, this, &ChatPasteWindow::reread);
    connect(Text1, &QPlainTextEdit::textChanged, &m_reread, qOverload<>(&QTimer::start));
    connect(Combo1, &QComboBox::currentIndexChanged, this, &ChatPasteWindow::reread);
    connect(m_model, &ChatModel::lineEdited, this, &ChatPasteWindow::replaceLine);
    connect(Command1, &QPushButton::clicked, this, &ChatPasteWindow::commit);
    connect(Command2, &QPushButton::clicked, this, [this] {
        clearPicture();
        Text1->clear();
        reread();
        Text1->setFocus();
    });
    connect(Command3, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, PictureOpenTitle, QString(), PictureFilesText);
        if (!path.isEmpty()) openPicture(path);
    });
    connect(Command4, &QPushButton::clicked, this, &ChatPasteWindow::cancelReading);
    connect(Grid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { frameLine(m_model->lineOf(current.row())); });
    auto* pasteKey = new QShortcut(QKeySequence::Paste, this);
    connect(pasteKey, &QShortcut::activated, this, &ChatPasteWindow::paste);
    reread();
}

ChatPasteWindow::~ChatPasteWindow()
{
    // The reading thread holds a copy of the picture and nothing of the window; it is stopped and
    // waited for, so that it never outlives the program's data.
    if (m_thread) {
        m_cancel->store(true);
        m_thread->wait();
        delete m_thread;
    }
    for (const QPointer<QThread>& stopped : std::as_const(m_stopped))
        if (stopped) {
            stopped->wait();
            delete stopped.data();
        }
}

bool ChatPasteWindow::showsPicture() const
{
    return !m_image.isNull();
}

bool ChatPasteWindow::openPicture(const QString& path)
{
    const LoadedPicture picture = loadPicture(path);
    if (!picture.error.isEmpty()) {
        Label1->setText(picture.error);
        Label1->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
        return false;
    }
    return showPicture(picture.image, picture.digest);
}

bool ChatPasteWindow::showPicture(const QImage& image, const QByteArray& digest)
{
    if (image.isNull()) return false;
    cancelReading();
    m_image = image;
    m_digest = digest;
    m_lines.clear();
    m_picture = PictureParse{};
    m_scene->clear();
    m_scene->addPixmap(QPixmap::fromImage(image));
    m_scene->setSceneRect(image.rect());
    m_left->setCurrentIndex(1);
    Picture1->resetTransform();
    // The whole width of the picture in view, at most at its own size.
    const double fit = std::min(1.0, double(Picture1->viewport()->width() - 4) / std::max(1, image.width()));
    Picture1->scale(fit, fit);
    reread();
    readPicture();
    return true;
}

void ChatPasteWindow::paste()
{
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!mime) return;
    if (mime->hasImage()) {
        // The bytes as copied, where the clipboard keeps them: their digest is the file's.
        const QByteArray png = mime->data(QStringLiteral("image/png"));
        const LoadedPicture picture =
            png.isEmpty() ? pictureFromImage(qvariant_cast<QImage>(mime->imageData())) : pictureFromBytes(png);
        if (!picture.error.isEmpty()) {
            Label1->setText(picture.error);
            return;
        }
        showPicture(picture.image, picture.digest);
        return;
    }
    if (const QString path = droppedPicture(mime); !path.isEmpty()) {
        openPicture(path);
        return;
    }
    if (mime->hasText()) {
        clearPicture();
        Text1->setFocus();
        Text1->insertPlainText(mime->text());
    }
}

void ChatPasteWindow::readPicture()
{
    m_cancel = std::make_shared<std::atomic_bool>(false);
    const int generation = ++m_generation;
    auto result = std::make_shared<RecognizedPicture>();
    // The thread keeps its own copies: the window may take another picture, or close, meanwhile.
    const QImage image = m_image;
    const std::shared_ptr<std::atomic_bool> cancel = m_cancel;
    m_thread = QThread::create([image, cancel, result] { *result = recognizePicture(image, cancel.get()); });
    QThread* thread = m_thread;
    connect(thread, &QThread::finished, this, [this, thread, generation, result] {
        if (m_thread == thread) m_thread = nullptr;
        thread->deleteLater();
        if (generation == m_generation) pictureLinesRead(result->lines, result->error, result->cancelled);
    });
    Command4->show();
    Command1->setEnabled(false);
    Label1->setText(PictureReadingText);
    Label1->setStyleSheet(QString());
    thread->start(QThread::LowPriority);
}

void ChatPasteWindow::cancelReading()
{
    if (!m_thread) return;
    m_cancel->store(true);
    ++m_generation; // what the stopped thread brings back is not shown
    QThread* thread = m_thread;
    m_thread = nullptr;
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_stopped << thread;
    Command4->hide();
    pictureLinesRead({}, {}, true);
}

void ChatPasteWindow::pictureLinesRead(const QList<PictureLine>& lines, const QString& error, bool cancelled)
{
    Command4->hide();
    m_lines = pictureTextLines(lines);
    reread();
    QString note;
    if (cancelled)
        note = PictureCancelledText;
    else if (!error.isEmpty())
        note = error;
    else if (m_lines.isEmpty())
        note = PictureNoTextText;
    if (!note.isEmpty()) {
        Label1->setText(note);
        Label1->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
    }
    emit pictureRead();
}

void ChatPasteWindow::clearPicture()
{
    cancelReading();
    m_image = QImage();
    m_digest.clear();
    m_lines.clear();
    m_picture = PictureParse{};
    m_scene->clear();
    m_left->setCurrentIndex(0);
}

void ChatPasteWindow::zoom(double factor)
{
    const double now = Picture1->transform().m11();
    if ((factor > 1 && now > 8) || (factor < 1 && now < 0.05)) return;
    Picture1->scale(factor, factor);
}

QList<QRectF> ChatPasteWindow::framedBoxes() const
{
    QList<QRectF> boxes;
    for (QGraphicsItem* item : m_scene->items())
        if (auto* rect = qgraphicsitem_cast<QGraphicsRectItem*>(item)) boxes << rect->rect();
    return boxes;
}

void ChatPasteWindow::frameLine(int line)
{
    for (QGraphicsItem* item : m_scene->items())
        if (qgraphicsitem_cast<QGraphicsRectItem*>(item)) delete item;
    if (!showsPicture() || line < 0 || line >= m_picture.lines.size()) return;
    const PictureTextLine& read = m_picture.lines[line];
    QPen pen(FrameColour);
    pen.setWidth(std::max(2, m_image.width() / 400));
    for (const QRect& box : read.wordBoxes)
        m_scene->addRect(QRectF(box).adjusted(-3, -3, 3, 3), pen);
    Picture1->ensureVisible(QRectF(read.box), 20, 40);
}

void ChatPasteWindow::pickAt(const QPointF& point)
{
    const int line = pictureLineAt(m_picture.lines, point.toPoint());
    const int row = m_model->firstRowOf(line);
    if (row < 0) return;
    Grid1->selectRow(row);
    Grid1->scrollTo(m_model->index(row, 0));
}

void ChatPasteWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedPicture(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void ChatPasteWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedPicture(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    openPicture(path);
}

bool ChatPasteWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+V in the message box pastes a picture as a picture, and a picture file dropped on the
    // box is read rather than written in as its path.
    if (watched == Text1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        // A clipboard whose owner has gone (the program that copied was closed) holds nothing; the
        // text box would crash on it under X11.
        if (!mime || mime->formats().isEmpty()) return true;
        if (mime->hasImage() || !droppedPicture(mime).isEmpty()) {
            paste();
            return true;
        }
    }
    if (watched == Text1->viewport() && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedPicture(drop->mimeData());
        if (!path.isEmpty()) {
            drop->acceptProposedAction();
            if (event->type() == QEvent::Drop) openPicture(path);
            return true;
        }
    }
    if (watched == Picture1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* press = static_cast<QMouseEvent*>(event);
            if (press->button() == Qt::LeftButton) pickAt(Picture1->mapToScene(press->position().toPoint()));
        } else if (event->type() == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->modifiers() & Qt::ControlModifier) {
                zoom(wheel->angleDelta().y() > 0 ? 1.25 : 0.8);
                return true;
            }
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void ChatPasteWindow::setUp()
{
    Text1->setFocus();
    if (!Text1->toPlainText().isEmpty() || !ctx.shell) return;
    const int type = Combo1->findText(ctx.shell->keyedType());
    if (type > 0) Combo1->setCurrentIndex(type);
    if (Combo2->currentText().isEmpty()) Combo2->setEditText(ctx.shell->keyedCustomer());
}

void ChatPasteWindow::refillPickLists(const QStringList& types, const QStringList& customers)
{
    Q_UNUSED(types); // every type can stand in a message
    const QString shown = Combo2->currentText();
    fillPicker(Combo2, customers, false);
    const QSignalBlocker block(Combo2);
    Combo2->setEditText(shown);
}

std::optional<std::pair<QString, QString>> ChatPasteWindow::keyedPair() const
{
    return std::pair{Combo1->currentText(), customer()};
}

QString ChatPasteWindow::customer() const
{
    const QString typed = customerName(Combo2->currentText());
    return typed.isEmpty() ? m_parse.customer : typed;
}

void ChatPasteWindow::reread()
{
    m_reread.stop();
    if (showsPicture()) {
        m_picture = parsePicture(m_lines, Combo1->currentText());
        m_parse = m_picture.chat;
        // Each line not understood shows the piece of the picture it was read from.
        QHash<int, QPixmap> pieces;
        const int height = Grid1->verticalHeader()->defaultSectionSize() - 4;
        for (qsizetype i = 0; i < m_parse.lines.size(); ++i)
            if (m_parse.lines[i].kind == ChatLineKind::NotUnderstood && !m_lines[i].box.isEmpty())
                pieces.insert(int(i), QPixmap::fromImage(m_image.copy(m_lines[i].box.adjusted(-4, -4, 4, 4))
                                                             .scaledToHeight(height, Qt::SmoothTransformation)));
        m_model->setPieces(pieces);
    } else {
        m_parse = parseChat(Text1->toPlainText(), Combo1->currentText());
        m_model->setPieces({});
    }
    showParse();
}

void ChatPasteWindow::showParse()
{
    m_model->setParse(&m_parse);
    // The note of a line without bets (why it was not understood) is longer than a type: it runs on
    // over the number and amount columns.
    Grid1->clearSpans();
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (!m_model->holdsBet(row)) Grid1->setSpan(row, ChatModel::TypeColumn, 1, 3);

    const qsizetype count = m_parse.bets().size();
    const qsizetype unread = m_parse.notUnderstood().size();
    QString summary = ChatSummaryText.arg(count).arg(formatCount(m_parse.total));
    if (m_parse.hasStatedTotal) summary += ChatStatedTotalText.arg(formatCount(m_parse.statedTotal));
    if (m_parse.totalMismatch()) summary += ChatTotalMismatchText;
    if (unread > 0) summary += ChatNotUnderstoodCountText.arg(unread);
    Label1->setText(summary);
    const bool warn = m_parse.totalMismatch() || unread > 0;
    Label1->setStyleSheet(warn ? QStringLiteral("color: rgb(200,0,0); font-weight: bold;") : QString());
    Label2->setText(m_parse.customer.isEmpty() ? QString() : ChatCustomerFoundText + m_parse.customer);
    Combo2->lineEdit()->setPlaceholderText(m_parse.customer);
    Command1->setEnabled(count > 0 && !reading());
    // A picture's rows are taller: the piece of the picture beside a red row must be legible.
    Grid1->verticalHeader()->setDefaultSectionSize(showsPicture() ? std::max(fontMetrics().height() + 6, 40)
                                                                  : fontMetrics().height() + 6);
}

void ChatPasteWindow::replaceLine(int line, const QString& text)
{
    if (showsPicture()) {
        // The operator's own reading of the line stands as typed.
        if (line < 0 || line >= m_lines.size()) return;
        m_lines[line].text = text;
        m_lines[line].typed = true;
        reread();
        return;
    }
    QTextBlock block = Text1->document()->findBlockByNumber(line);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
    reread();
}

void ChatPasteWindow::commit()
{
    if (reading()) return;
    reread();
    const QList<ChatBet> bets = m_parse.bets();
    if (bets.isEmpty()) {
        Label1->setText(ChatNothingText);
        return;
    }
    const QString name = customer();
    if (name.isEmpty()) {
        Label1->setText(ChatNoCustomerText);
        Label1->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
        Combo2->setFocus();
        return;
    }
    // The message stays in the box while the name is put right.
    if (const QString refusal = customerNameRefusal(name); !refusal.isEmpty()) {
        Label1->setText(refusal);
        Label1->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
        Combo2->setFocus();
        return;
    }
    if (m_parse.totalMismatch()) {
        const QString question = ChatMismatchQuestion.arg(formatCount(m_parse.total), formatCount(m_parse.statedTotal));
        if (!askStoreAnyway(this, ChatWindowTitle, question, QStringLiteral("TotalMismatchBox"))) return;
    }
    const QString lateQuestion = ctx.ledger.afterResultQuestion();
    if (!lateQuestion.isEmpty() && !askAfterResult(this, lateQuestion)) return;
    const EntryResult entered = showsPicture() ? ctx.ledger.enterPicture(bets, name, m_digest, !lateQuestion.isEmpty())
                                               : ctx.ledger.enterChat(bets, name, !lateQuestion.isEmpty());
    // The main list now shows the paste, not the pair being keyed: its next entry shows its header.
    ctx.session.HeaderFlag = false;
    if (ctx.shell) {
        ctx.shell->clearList();
        ctx.shell->addLines(entered.lines);
        ctx.shell->refreshPickLists();
    }
    clearPicture();
    Text1->clear();
    reread();
    Text1->setFocus();
}

} // namespace varnoth
