#pragma once
// The record fs_recorder writes: one header per operation, then its path, its second
// path (renames) and its bytes (writes).

namespace tavuro::reliability {

enum class FsOpKind : unsigned {
  Create = 1,  // a file made under a name (ino: the new file)
  Write,       // bytes written into a file at an offset
  Truncate,    // a file's length set (size)
  Sync,        // a file flushed: its bytes and length are on the disk
  SyncDir,     // a folder flushed: the names in it are on the disk
  Rename,      // path renamed to path2, replacing what was there
  Exchange,    // path and path2 exchanged
  Unlink,      // a name removed
  Mkdir,       // a folder made (ino: the folder)
  Rmdir,       // a folder removed
  Mark,        // the child's own note (the path is its text)
};

struct FsLogHeader {
  unsigned kind;
  unsigned path_size;
  unsigned path2_size;
  unsigned padding;
  unsigned long long ino;
  unsigned long long offset;
  unsigned long long size;
};

}  // namespace tavuro::reliability
