#pragma once

namespace cw {

class Database;

// All or nothing: the changes made while a Transaction lives are rolled back when it
// goes away uncommitted (an exception, an early return). Nested use joins the outer one.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

  private:
    Database& db_;
    bool owner_ = false;
    bool done_ = false;
};

}  // namespace cw
