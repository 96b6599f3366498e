#pragma once

#include <QString>

namespace cw {

// Only one copy of the program runs per data folder. The lock is a file in Data/ beside the
// data file, held with the system's file lock: every process that opens that data file sees
// it, whatever its environment (a scheduled job has no per-user runtime folder), a second
// spelling of the folder (a link, "..") is the same file, and the lock goes with the process
// that held it, so a copy that died leaves nothing to take over. The lock belongs to the
// object, not to the process: a second object in the same process is refused too.
class SingleInstance {
  public:
    // dataFolder: the folder holding Data/.
    explicit SingleInstance(const QString& dataFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this object now holds the lock; false when another copy holds it.
    bool acquire();
    void release();
    const QString& lockPath() const { return path_; }

  private:
    QString path_;
    int fd_ = -1;
};

}  // namespace cw
