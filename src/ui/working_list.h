// The working copy of a rule list that a list dialog edits and hands back only on OK.
#pragma once

#include <cstdint>
#include <vector>

// A list dialog's copy of the live rules, with the flag that says whether anything was
// added, edited, deleted or moved since it was taken.
template <typename Rule>
class WorkingList {
public:
    // Takes a copy of the live rules; nothing is changed yet.
    void open(const std::vector<Rule>& live)
    {
        rules_ = live;
        changed_ = false;
    }
    // Empties the copy and clears the flag (every way of leaving the dialog, and after OK).
    void close()
    {
        rules_.clear();
        changed_ = false;
    }

    const std::vector<Rule>& rules() const { return rules_; }
    bool changed() const { return changed_; }
    int32_t size() const { return static_cast<int32_t>(rules_.size()); }
    // True when index names a rule (editedIndex may be -1 or stale).
    bool holds(int32_t index) const { return index >= 0 && index < size(); }

    // Appends rule; returns its index.
    int32_t append(const Rule& rule)
    {
        rules_.push_back(rule);
        changed_ = true;
        return size() - 1;
    }
    // Replaces the rule at index; false (nothing changed) when there is none.
    bool replace(int32_t index, const Rule& rule)
    {
        if (!holds(index)) {
            return false;
        }
        rules_[static_cast<std::size_t>(index)] = rule;
        changed_ = true;
        return true;
    }
    // Erases the rule at index, later rules move up; false when there is none.
    bool erase(int32_t index)
    {
        if (!holds(index)) {
            return false;
        }
        rules_.erase(rules_.begin() + index);
        changed_ = true;
        return true;
    }
    // Moves the rule at index by step places (-1 up, +1 down); returns its new index, or -1
    // when nothing moves: fewer than two rules, no rule at index, or no place to move to.
    int32_t move(int32_t index, int32_t step)
    {
        const int32_t target = index + step;
        if (size() < 2 || !holds(index) || !holds(target)) {
            return -1;
        }
        const Rule moved = rules_[static_cast<std::size_t>(index)];
        rules_.erase(rules_.begin() + index);
        rules_.insert(rules_.begin() + target, moved);
        changed_ = true;
        return target;
    }

private:
    std::vector<Rule> rules_;
    bool changed_ = false;
};
