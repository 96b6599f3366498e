#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace cw {

// Only one copy of the program runs per user: a lock file in the user's runtime folder.
// A lock left behind by a copy that died is taken over.
class SingleInstance {
  public:
    // lockDir empty: the per-user runtime folder.
    explicit SingleInstance(const QString& lockDir = QString());
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
