// The matching fields of the catalogue laid out for the keystroke path. The
// byte masks are stored transposed, one bit plane per mask bit: the rows of a
// block of 64 that may hold a query's bytes are the AND of the query's few
// planes, so rejecting the catalogue costs a few loads per 64 entries. The
// folded texts of each entry sit side by side in one buffer, so an entry that
// passes touches one or two cache lines and not its CatalogEntry. Built when
// the catalogue or the hidden set changes, never per keystroke.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/text/text_map.h"

namespace talvo {

class MatchIndex {
  public:
    // One visible entry. Its texts sit in the buffer: a (start, size) span per
    // word, per alias and for the file stem, relative to the name, then from
    // `text` on the folded name, the initials, the aliases and the stem.
    struct Row {
        std::uint32_t entry = 0;         // position in the catalogue
        std::uint32_t text = 0;          // offset of the folded name in the buffer
        std::uint32_t key_hash = 0;      // high half of the key's TextHash
        std::uint16_t display_size = 0;  // byte length of the shown name, for ties
        std::uint16_t name_size = 0;
        std::uint16_t initials_size = 0;
        std::uint16_t word_count = 0;
        std::uint16_t alias_count = 0;
        char first_byte = 0;  // of the folded name, if any
        // Bytes of the file stem: 0 when there is none, kLongStem for that many or more.
        std::uint8_t stem_size = 0;
        std::uint64_t word_start_mask = 0;

        // A row whose texts or shown name do not fit the 16-bit sizes is
        // scored from its CatalogEntry instead (names of 64 KiB and more).
        bool is_long() const { return name_size == kLongRow; }
        bool has_stem() const { return stem_size != 0; }
    };

    static constexpr std::uint16_t kLongRow = 0xFFFF;
    static constexpr std::uint8_t kLongStem = 0xFF;

    // An index row seen through the accessors the match ladder reads.
    class Fields {
      public:
        Fields(const char* name, const Row& row) : name_(name), row_(row) {}

        std::string_view name() const { return {name_, row_.name_size}; }
        std::string_view initials() const { return {name_ + row_.name_size, row_.initials_size}; }
        std::size_t word_count() const { return row_.word_count; }
        std::string_view word(std::size_t i) const { return span(i); }
        std::size_t alias_count() const { return row_.alias_count; }
        std::string_view alias(std::size_t i) const { return span(row_.word_count + i); }
        std::string_view file_stem() const {
            return row_.has_stem() ? span(std::size_t{row_.word_count} + row_.alias_count)
                                   : std::string_view();
        }
        std::uint64_t word_start_mask() const { return row_.word_start_mask; }

      private:
        std::string_view span(std::size_t i) const {
            const std::size_t spans =
                std::size_t{row_.word_count} + row_.alias_count + (row_.has_stem() ? 1 : 0);
            std::uint16_t start_and_size[2];
            std::memcpy(start_and_size, name_ - (spans - i) * kSpanBytes, kSpanBytes);
            return {name_ + start_and_size[0], start_and_size[1]};
        }

        const char* name_;
        const Row& row_;
    };

    MatchIndex() = default;
    // Every entry of `catalog` whose key is not hidden, in catalogue order.
    MatchIndex(const Catalog& catalog, const HiddenKeys& hidden_keys);

    static constexpr std::size_t kBlock = 64;  // rows per word of a bit plane

    std::size_t size() const { return rows_.size(); }
    std::size_t blocks() const { return (rows_.size() + kBlock - 1) / kBlock; }
    std::size_t catalog_size() const { return catalog_size_; }
    // Bit j of word b: row b x 64 + j has mask bit `bit` (byte_mask.h).
    const std::uint64_t* plane(unsigned bit) const { return planes_.data() + bit * blocks(); }
    const Row& row(std::size_t i) const { return rows_[i]; }
    Fields fields(const Row& row) const { return Fields(text_.data() + row.text, row); }

    // Heap bytes the index holds.
    std::size_t memory_bytes() const;

  private:
    static constexpr std::size_t kSpanBytes = 2 * sizeof(std::uint16_t);

    void add_row(const CatalogEntry& entry, std::uint32_t position);
    void add_planes(const std::vector<std::uint64_t>& byte_masks);
    // Appends the row's spans and texts; false when its offsets exceed 16 bits.
    bool append_texts(const CatalogEntry& entry, Row& row);

    std::vector<std::uint64_t> planes_;  // 64 planes of blocks() words
    std::vector<Row> rows_;
    std::string text_;
    std::size_t catalog_size_ = 0;
};

}  // namespace talvo
