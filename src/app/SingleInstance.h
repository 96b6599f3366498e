#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace cw {

// Only one copy of the program runs per user and data folder: a lock file in the user's
// runtime folder named after the data folder, so a portable copy and an installed one do not
// block each other. A lock left behind by a copy that died is taken over.
class SingleInstance {
  public:
    // dataFolder: the folder holding Data/; lockDir empty: the per-user runtime folder.
    explicit SingleInstance(const QString& dataFolder, const QString& lockDir = QString());
    // The lock file's name for a data folder: the same for every spelling of the folder.
    static QString lockName(const QString& dataFolder);
    ~SingleInstance();

    // True when this process now holds the lock; false when another copy runs.
    bool acquire();
    void release();
    QString lockPath() const { return path_; }

  private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace cw
