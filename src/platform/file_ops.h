#pragma once
// File operations that a crash or a power cut cannot leave half done: the new content is
// written beside the target under a temporary name, flushed to disk, and renamed over it.

#include <QByteArray>
#include <QString>

namespace tavuro::platform {

// Replaces (or creates) path with exactly these bytes. false when it could not.
bool write_file_atomic(const QString& path, const QByteArray& bytes);

// Copies source over target, atomically for the target. false when it could not.
bool copy_file_atomic(const QString& source, const QString& target);

// Reads a whole regular file; nullopt-like empty result with ok=false when it cannot.
QByteArray read_whole_file(const QString& path, bool* ok);

// Whether two regular files hold the same bytes (false when either cannot be read).
bool same_content(const QString& a, const QString& b);

// The name a temporary file gets beside its target.
QString temporary_sibling(const QString& target);

}  // namespace tavuro::platform
