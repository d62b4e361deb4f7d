// The undo history of a document: the changes made, in order, and where the document stands
// among them. A change is applied by its owner before it is pushed; undo and redo hand back the
// entry to revert or to apply again. The saved state is a position in the history: undoing back
// to it makes the document saved again.
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <optional>

namespace telvane {

template <typename Entry> class History {
public:
    // `limit` changes are kept; the oldest goes when a new one would exceed it.
    explicit History(std::size_t limit = 100) : limit_(limit == 0 ? 1 : limit) {}

    // A change that was just applied. The changes undone before it can no longer be redone.
    void push(Entry entry) {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position_), entries_.end());
        if (saved_ && *saved_ > position_)
            saved_.reset(); // the saved state was among the dropped changes
        entries_.push_back(std::move(entry));
        ++position_;
        if (entries_.size() > limit_) {
            entries_.pop_front();
            --position_;
            if (saved_)
                saved_ = *saved_ == 0 ? std::nullopt : std::optional<std::size_t>(*saved_ - 1);
        }
    }

    bool can_undo() const { return position_ > 0; }
    bool can_redo() const { return position_ < entries_.size(); }
    // The change to revert (the position moves back over it); call only when can_undo().
    Entry& undo() { return entries_[--position_]; }
    // The change to apply again (the position moves forward over it); only when can_redo().
    Entry& redo() { return entries_[position_++]; }

    // The document as it stands is what its file holds.
    void mark_saved() { saved_ = position_; }
    // The saved state lies nowhere in the history (a new document that was changed, or a
    // change made after undoing past the save).
    void forget_saved() { saved_.reset(); }
    bool at_saved() const { return saved_ && *saved_ == position_; }
    // Like at_saved, but the changes for which `counts` is false (those that change nothing
    // that is saved) do not count between the saved position and the document.
    template <typename Counts> bool at_saved_but_for(Counts counts) const {
        if (!saved_)
            return false;
        const std::size_t from = std::min(*saved_, position_);
        const std::size_t to = std::max(*saved_, position_);
        for (std::size_t i = from; i < to; ++i)
            if (counts(entries_[i]))
                return false;
        return true;
    }

    // Nothing to undo or redo; the document as it stands counts as saved when `saved`.
    void clear(bool saved) {
        entries_.clear();
        position_ = 0;
        saved_ = saved ? std::optional<std::size_t>(0) : std::nullopt;
    }
    std::size_t size() const { return entries_.size(); }
    std::size_t position() const { return position_; }

private:
    std::deque<Entry> entries_;
    std::size_t position_ = 0;
    std::optional<std::size_t> saved_ = 0;
    std::size_t limit_;
};

} // namespace telvane
