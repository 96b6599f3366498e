#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "storage/GlobalState.h"

namespace cw {

class Database;
class TfrmDM;

// Writes a data file holding one well-used household book of a chosen number of postings,
// for the benchmarks. Everything goes in through the data services the screens use
// (TfrmDM), in the same order a screen save follows, so the tables, the balances and the
// fund-flow journal look exactly like years of real use, only faster to come by.
//
// The output is reproducible: the same posting count always gives the same rows.
class BookGenerator {
  public:
    // The generated book and what it holds.
    static QString bookName();
    static QStringList members();
    // Account names, with their type in types() at the same index (every account type).
    static QStringList accounts();
    static QStringList accountTypes();
    static QStringList incomeCategories();
    static QStringList expenseCategories();
    static QStringList investmentCategories();
    static QStringList contacts();

    // Postings are committed in batches of this many; a commit of the full-sync file costs a
    // few milliseconds, a batch a few seconds at most.
    static constexpr int kBatch = 50'000;

    // Called after every batch with the postings written so far.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    explicit BookGenerator(qint64 postings) : postings_(postings) {}

    // Writes a new data file at path with the book in it (refuses to overwrite a file).
    void write(const QString& path, const Progress& progress = {}) const;

    // The cached data file for this posting count under dir, written first when missing.
    // The name carries a fingerprint of the schema and of this generator, so a file made
    // with older indexes or older rules is never taken for a current one. *seconds receives
    // the time spent writing (0 when the cached file was reused).
    QString cached(const QString& dir, double* seconds = nullptr,
                   const Progress& progress = {}) const;

    // A fresh copy of a data file at dest (replacing one left from an earlier run), for
    // benchmarks that write.
    static void copyTo(const QString& source, const QString& dest);

    // The book size a benchmark was asked for: --book_n=N (taken out of argv), else
    // COINWICK_BENCH_N, else 10,000.
    static qint64 takeBookSize(int* argc, char** argv);
    // A fresh scratch copy of the cached book of this size, named after the benchmark, beside
    // the cache (COINWICK_BENCH_DATA, else defaultDir) so its commits wait for the same disk.
    static QString scratchCopy(qint64 postings, const QString& defaultDir, const QString& name);

    // Opens the generated book the way the book screen does: name and sort codes.
    static void openBook(Database& db, GlobalState& state);

    qint64 postings() const { return postings_; }

  private:
    qint64 postings_;
};

// The generated book as a benchmark holds it: a scratch copy of the cached book, opened with
// the book's state and its data services, after the SQL of COINWICK_BENCH_PREPARE (an index
// tried there first, before it goes into data/schema.sql). Opening again replaces the copy.
struct BenchBook {
    BenchBook();
    ~BenchBook();
    std::unique_ptr<Database> db;
    GlobalState state;
    std::unique_ptr<TfrmDM> dm;

    void open(qint64 postings, const QString& defaultDir, const QString& name);
};

// The one book of a benchmark program.
BenchBook& benchBook();

}  // namespace cw
