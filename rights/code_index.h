#pragma once
// Positions of codes in a list (groups, module items), for looking up the
// codes of hundreds of thousands of rights rows. QHash hashes a string with a
// seed of the process, which Qt on this platform does with SipHash, about
// 130 ns a code; std::hash<QString> (Qt's hash without a seed) takes about
// 6 ns. These codes come from the rights tables, which only administrators
// write: nobody gains by crafting codes that collide.

#include <QString>
#include <QStringList>
#include <unordered_map>

namespace rights {

class CodeIndex {
public:
    CodeIndex() = default;
    // Each code at its position in `codes` (the first, when one repeats).
    explicit CodeIndex(const QStringList& codes)
    {
        positions_.reserve(size_t(codes.size()));
        for (qsizetype i = 0; i < codes.size(); ++i)
            positions_.emplace(codes.at(i), i);
    }

    // The position of `code`, or -1.
    qsizetype indexOf(const QString& code) const
    {
        const auto found = positions_.find(code);
        return found == positions_.end() ? -1 : found->second;
    }
    bool contains(const QString& code) const { return positions_.find(code) != positions_.end(); }
    // Adds `code` at `position` unless it is there already.
    void add(const QString& code, qsizetype position) { positions_.emplace(code, position); }

private:
    std::unordered_map<QString, qsizetype> positions_;
};

}  // namespace rights
