#pragma once
// File operations that a crash or a power cut cannot leave half done: the new content is
// written beside the target under a temporary name, flushed to disk, and renamed over it.

#include <QByteArray>
#include <QString>

namespace tavuro::platform {

// Replaces (or creates) path with exactly these bytes. false when it could not. With
// sync_directory the rename itself is flushed too, so that after a power cut the new
// content is there (not only whole).
bool write_file_atomic(const QString& path, const QByteArray& bytes, bool sync_directory = true);

// Copies source over target, atomically for the target, and flushes the directory: once
// it returns the copy is on the disk under its name. false when it could not.
bool copy_file_atomic(const QString& source, const QString& target);

// Reads a whole regular file; nullopt-like empty result with ok=false when it cannot.
QByteArray read_whole_file(const QString& path, bool* ok);

// Copies source over target like copy_file_atomic, for a copy made again and again (a
// backup): the content the target had before stays beside it as kept_copy_of(target)
// and takes the next copy. The next copy is written into room the disk has already given:
// a disk that fills up between two copies does not stop the next one.
bool refresh_copy(const QString& source, const QString& target);
// ".<name>.old" beside target.
QString kept_copy_of(const QString& target);

// Whether two regular files hold the same bytes (false when either cannot be read).
bool same_content(const QString& a, const QString& b);

// Makes the folder path (its parent must exist) and flushes the parent, so that the
// folder is still there after a power cut. true when the folder is there.
bool make_folder(const QString& path);

// Flushes the directory that holds path: a rename, creation or deletion of a name in it
// that has happened is on the disk when this returns. false when it could not.
bool sync_directory_of(const QString& path);

// The name a temporary file gets beside its target.
QString temporary_sibling(const QString& target);

}  // namespace tavuro::platform
