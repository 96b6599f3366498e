#pragma once

#include <QString>
#include <functional>
#include <memory>

class QIODevice;

namespace cw {

class OutputDevice;

// Every file the program writes for the user (spreadsheets, PDFs, pictures, backups) goes
// through here, so none can land on the books and none is half written:
// - the target is refused when it resolves (through links and "..", also when it does not
//   exist yet) to the data file, its journal or anything in the data file's folder, or to
//   something that is not a plain file (a folder, a device);
// - the bytes go to a temporary file in the target's own folder, readable by the owner alone;
//   every write is checked, the file is synced and closed, and only then renamed over the
//   target. A failure leaves no file behind and an earlier file at the target as it was.
//
//     OutputFile out(path, db.path());
//     if (!out.open()) return fail(out.errorString());
//     image.save(out.device(), "PNG");          // or a library writing out.temporaryPath()
//     if (!out.commit()) return fail(out.errorString());
class OutputFile {
  public:
    // dataFile is the open data file; empty when none is open.
    OutputFile(QString target, QString dataFile);
    ~OutputFile();  // an uncommitted temporary file is removed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Checks the target and creates the temporary file; false with errorString() set.
    bool open();
    // Writes into the temporary file; a failed write is remembered and fails commit().
    QIODevice* device();
    // For writers that open the file by name; it exists (empty, owner-only) after open().
    QString temporaryPath() const { return temporary_; }
    // Syncs the temporary file to the disk and renames it over the target.
    bool commit();

    // "无法写入文件：<target>（<why>）"
    const QString& errorString() const { return error_; }

    // Opens, lets fill write into the device, commits. fill returns false when it could not
    // produce its content. The error text is set on every failure.
    static bool write(const QString& target, const QString& dataFile,
                      const std::function<bool(QIODevice&)>& fill, QString* error);

    // Why target must not be written while dataFile is open; empty when it may be.
    static QString refusal(const QString& target, const QString& dataFile);
    // The path the system reaches for path: links followed and "." / ".." taken as the
    // system takes them; the parts that do not exist yet kept as written.
    static QString resolve(const QString& path);
    // Creates a folder of the program's own (Backup/, Export/) readable by its owner alone,
    // and closes one that is already there to others. False when there is no folder after.
    static bool makePrivateFolder(const QString& path);

  private:
    bool fail(const QString& why);
    void discard();

    QString target_;
    QString dataFile_;
    QString resolved_;
    QString temporary_;
    int fd_ = -1;
    bool committed_ = false;
    QString error_;
    std::unique_ptr<OutputDevice> device_;
};

}  // namespace cw
