#pragma once

#include "platform/PhotoLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

namespace pomelark {

/// The done screen's words for where the Photos library lies. They name the
/// folders as they are really called: the library by its own name ("Photos",
/// or whatever `POMELARK_PHOTOS_DIR` names), and the folder holding it by
/// its own, which for the user's Pictures folder is the name the desktop's
/// folder settings gave it ("사진" on many Korean desktops). Display-free.
class LibraryFolderNames {
    Q_DECLARE_TR_FUNCTIONS(pomelark::LibraryFolderNames)

public:
    /// The desktop's Pictures and home folders by default; tests give their own.
    explicit LibraryFolderNames(const QString &libraryRoot, const QString &picturesFolder = PhotoLibrary::picturesFolder(),
                                const QString &homeFolder = QDir::homePath());

    /// "All set in your Photos folder".
    QString allSet() const;
    /// "Went into Photos · in your Pictures folder", or "… in the <name> folder"
    /// when the library lies elsewhere than in the user's Pictures or home folder.
    QString wentInto() const;
    /// "Let Pomelark write to Pictures → Photos".
    QString writeRequest() const;
    /// "Open Pictures Folder", naming `folder`: the one that will open.
    QString openFolder(const QString &folder) const;

    /// What the user calls `folder`: its own name; "Home" for the home folder,
    /// whose name is only the user's login; the path itself for the root.
    QString nameOf(const QString &folder) const;

private:
    bool isHome(const QString &folder) const;

    QString m_library;
    QString m_holder;
    QString m_pictures;
    QString m_home;
};

} // namespace pomelark
