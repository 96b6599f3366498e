#include "import/statements/StatementProfile.h"

namespace cw {

QStringList StatementProfile::headers() const {
    return {};
}
bool StatementProfile::usable(QString*) const {
    return false;
}

const std::vector<StatementProfile>& StatementProfiles::shipped() {
    static const std::vector<StatementProfile> none;
    return none;
}
std::vector<StatementProfile> StatementProfiles::saved(Database&) {
    return {};
}
std::vector<StatementProfile> StatementProfiles::all(Database&) {
    return shipped();
}
void StatementProfiles::save(Database&, const StatementProfile&) {}
void StatementProfiles::remove(Database&, const QString&) {}
const StatementProfile* StatementProfiles::byName(const std::vector<StatementProfile>& profiles,
                                                  const QString& name) {
    for (const StatementProfile& p : profiles)
        if (p.name == name) return &p;
    return nullptr;
}
StatementProfiles::Match StatementProfiles::recognise(const std::vector<StatementProfile>&,
                                                      const std::vector<QStringList>&) {
    return {};
}
size_t StatementProfiles::guessHeaderRow(const std::vector<QStringList>&) {
    return 0;
}
StatementProfile StatementProfiles::guess(const QStringList&) {
    return {};
}

}  // namespace cw
