#pragma once
// File operations that a crash or a power cut cannot leave half done: the new content is
// written beside the target under a temporary name, flushed to disk, and renamed over it.

#include <QByteArray>
#include <QString>

namespace tavuro::platform {

// Replaces (or creates) path with exactly these bytes. false when it could not. With
// syncDirectory the rename itself is flushed too, so that after a power cut the new
// content is there (not only whole).
bool write_file_atomic(const QString& path, const QByteArray& bytes, bool syncDirectory = true);

// Copies source over target, atomically for the target. false when it could not. The
// copy is a backup: after a power cut it may be the copy before, but never a broken one,
// so the directory is not flushed (that would cost a recorded sale a second disk flush).
bool copy_file_atomic(const QString& source, const QString& target);

// Reads a whole regular file; nullopt-like empty result with ok=false when it cannot.
QByteArray read_whole_file(const QString& path, bool* ok);

// Copies source over target like copy_file_atomic, for a copy made again and again (a
// backup): the content the target had before stays beside it as kept_copy_of(target)
// and takes the next copy, which spares the disk a new file each time.
bool refresh_copy(const QString& source, const QString& target);
// ".<name>.old" beside target.
QString kept_copy_of(const QString& target);

// Whether two regular files hold the same bytes (false when either cannot be read).
bool same_content(const QString& a, const QString& b);

// The name a temporary file gets beside its target.
QString temporary_sibling(const QString& target);

}  // namespace tavuro::platform
