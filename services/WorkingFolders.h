#pragma once

#include <QString>

namespace pomelark {

/// Where the app keeps its working files: folders inside its own cache folder
/// (~/.cache/Pomelark), never in the shared cache root where other programs'
/// folders live.
class WorkingFolders {
public:
    /// Folders under `root`, which tests and benchmarks point at a temporary folder.
    explicit WorkingFolders(QString root);

    /// The app's own cache folder: $XDG_CACHE_HOME/Pomelark (normally
    /// ~/.cache/Pomelark). Without any cache location (no home folder) it falls
    /// back to a folder in the temporary directory, so working files still have
    /// a place that is ours alone.
    static WorkingFolders standard();

    QString root() const { return m_root; }
    QString videoPlayback() const;    ///< playable copies of videos
    QString videoThumbnails() const;  ///< video posters and durations
    QString exportStaging() const;    ///< converted files waiting to go into Photos
    QString workspace() const;        ///< made by nothing; only ever removed

private:
    QString m_root;
};

} // namespace pomelark
