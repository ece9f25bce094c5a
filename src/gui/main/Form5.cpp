#include "gui/main/Form5.h"

#include "entry/sheet.h"
#include "gui/main/Shell.h"
#include "tools/drives.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <algorithm>

namespace varnoth
{

Form5::Form5(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::FilePicker, parent), Drive1(new QComboBox(this)), Dir1(new QTreeView(this)),
      File1(new QListView(this)), Label1(new QLabel(QStringLiteral("File Name"), this)), Text1(new QLineEdit(this)),
      Command1(new QPushButton(QStringLiteral("Open"), this)), m_dirs(new QFileSystemModel(this)),
      m_files(new QFileSystemModel(this))
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("File"));
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1->setObjectName(QStringLiteral("File1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);

    m_dirs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_dirs->setRootPath(QString());
    Dir1->setModel(m_dirs);
    for (int column = 1; column < m_dirs->columnCount(); ++column)
        Dir1->hideColumn(column);
    Dir1->header()->hide();

    m_files->setFilter(QDir::Files);
    m_files->setNameFilters({QStringLiteral("*.txt")});
    m_files->setNameFilterDisables(false); // other files are hidden, not greyed
    File1->setModel(m_files);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Drive1, 0, 0);
    layout->addWidget(Dir1, 1, 0, 3, 1);
    layout->addWidget(Label1, 0, 1);
    layout->addWidget(Text1, 1, 1);
    layout->addWidget(File1, 2, 1);
    layout->addWidget(Command1, 3, 1, Qt::AlignRight);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    hoverHighlight(Command1, QColor(255, 192, 192));

    connect(Drive1, &QComboBox::activated, this, &Form5::onDriveChanged);
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onFolderChanged(m_dirs->filePath(current)); });
    connect(File1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { Text1->setText(m_files->fileName(current)); });
    connect(File1, &QListView::clicked, this,
            [this](const QModelIndex& index) { Text1->setText(m_files->fileName(index)); });
    connect(Text1, &QLineEdit::textChanged, this,
            [this](const QString& text) { Command1->setEnabled(!text.isEmpty()); });
    connect(Command1, &QPushButton::clicked, this, &Form5::open);
    Text1->installEventFilter(this);
    File1->installEventFilter(this);

    fillDrives();
    showFolder(QDir::homePath());
    Text1->clear();
    Command1->setEnabled(false);
}

void Form5::fillDrives()
{
    QList<QStorageInfo> volumes;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady()) volumes << v;
    std::stable_sort(volumes.begin(), volumes.end(),
                     [](const QStorageInfo& a, const QStorageInfo& b) { return isRemovable(a) && !isRemovable(b); });
    Drive1->clear();
    for (const QStorageInfo& v : volumes) {
        QString text = QDir::toNativeSeparators(v.rootPath());
        if (!v.name().isEmpty()) text += QStringLiteral(" [") + v.name() + QLatin1Char(']');
        Drive1->addItem(text, v.rootPath());
    }
}

void Form5::onDriveChanged(int index)
{
    const QString root = Drive1->itemData(index).toString();
    if (!root.isEmpty()) showFolder(root);
}

void Form5::onFolderChanged(const QString& path)
{
    m_folder = path;
    File1->setRootIndex(m_files->setRootPath(path));
    Text1->clear();
}

void Form5::showFolder(const QString& path)
{
    onFolderChanged(path);
    const QModelIndex index = m_dirs->index(path);
    {
        const QSignalBlocker block(Dir1->selectionModel());
        Dir1->setCurrentIndex(index);
    }
    Dir1->scrollTo(index);
    Dir1->expand(index);

    // The drive that holds the folder: the longest root path in front of it.
    int drive = -1;
    qsizetype longest = -1;
    for (int i = 0; i < Drive1->count(); ++i) {
        const QString root = Drive1->itemData(i).toString();
        if (path.startsWith(root) && root.size() > longest) {
            longest = root.size();
            drive = i;
        }
    }
    const QSignalBlocker block(Drive1);
    Drive1->setCurrentIndex(drive);
}

QString Form5::filePathOf(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name);
}

void Form5::open()
{
    const QString name = Text1->text();
    if (name.isEmpty()) return;
    m_sheet = LoadSheetFile(filePathOf(m_folder, name));
    m_opened = true;
    if (ctx.shell) ctx.shell->refreshPickLists();
    close();
}

bool Form5::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Text1 || watched == File1) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (Command1->isEnabled()) Command1->click();
            return true;
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void Form5::closeEvent(QCloseEvent* event)
{
    SecondaryWindow::closeEvent(event);
    if (m_closing || !ctx.shell) return;
    m_closing = true;
    // However the picker is closed, group entry takes over: with the file's lines after Open.
    SecondaryWindow* entry = ctx.shell->openWindow(WindowId::GroupEntry);
    if (entry && m_opened) entry->prepare(QStringLiteral("File"), m_sheet);
    ctx.shell->hideProgress();
    ctx.shell->refreshPickLists();
}

} // namespace varnoth
