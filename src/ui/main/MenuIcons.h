#pragma once
// The icons of the menus and picture buttons: the desktop theme's, or Qt's own standard icon where
// the theme has none.

#include <QApplication>
#include <QIcon>
#include <QStyle>

namespace varnoth
{

inline QIcon themedIcon(const char* theme, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(theme), QApplication::style()->standardIcon(fallback));
}

// The icons that stand for the same action in several windows.
inline QIcon openIcon()
{
    return themedIcon("document-open", QStyle::SP_DirOpenIcon);
}
inline QIcon deleteIcon()
{
    return themedIcon("edit-delete", QStyle::SP_TrashIcon);
}

} // namespace varnoth
