#pragma once

namespace cw {

class Database;

// Keeps the data file's write lock on one connection across several steps that cannot be one
// transaction (copying the file out, then copying another file in through the engine's
// backup). While it lives no other connection, in this process or another, reads or writes
// the file: a writer that began earlier has finished, a later one waits and then gives up
// with the busy message.
class FileWriteLock {
  public:
    // Waits as long as any write would for a writer to finish; throws DbError (busy()) when
    // one still holds the file after that.
    explicit FileWriteLock(Database& db);
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock&) = delete;
    FileWriteLock& operator=(const FileWriteLock&) = delete;

  private:
    Database& db_;
};

}  // namespace cw
