#pragma once
// The file picker of file entry: a drive, a folder and a "*.txt" file whose lines become the sheet
// of the group-entry window.

#include "gui/main/SecondaryWindow.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTreeView;

namespace varnoth
{

class Form5 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form5(AppContext& context, QWidget* parent = nullptr);

    // The folder that the file list shows.
    QString folder() const { return m_folder; }
    // Moves the folder tree and the file list to a folder (and the drive list to its drive).
    void showFolder(const QString& path);
    // A name in a folder, with one separator between them even at the root of a drive.
    static QString filePathOf(const QString& folder, const QString& name);

    QComboBox* Drive1;
    QTreeView* Dir1;
    QListView* File1;
    QLabel* Label1;
    QLineEdit* Text1;
    QPushButton* Command1;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillDrives();
    void onDriveChanged(int index);
    void onFolderChanged(const QString& path);
    void open();

    QFileSystemModel* m_dirs;
    QFileSystemModel* m_files;
    QString m_folder;
    QString m_sheet;       // the sheet read by Open, handed to the group-entry window on closing
    bool m_opened = false; // Open was pressed: the group-entry window shows the file's sheet
    bool m_closing = false;
};

} // namespace varnoth
