// Composing a changing line (a score, a timer) from the glyph cache's
// entries, one per character: which entries are read, drawn or recalled,
// how wide and tall the line is, where each piece goes, and when the entries
// first read may be placed as they are rather than read again.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "render/prepared_line.h"

namespace lumo::render {

/// The surface a dynamic line is composed on: as wide as its pieces'
/// advances (at least one column), 1.5 line heights tall as every line.
struct DynamicLineSize {
    long width = 1;
    long height = 0;
};
DynamicLineSize dynamic_line_size(long total_advance, int line_height);

/// Composes the line of `text` through `host`, which holds the glyph cache:
///  - `bool recall(code, Entry&)`: the entry the engine learned for `code`
///    while the cache is unchanged (no key is made for it);
///  - `Key key_of(code)`, `Entry look_up(code, key)`: the cache's entry,
///    drawn and stored when it has none;
///  - `long advance(entry)`: the advance an entry gives;
///  - `entries_read()`: the entries are all read (the cache's state now is
///    what entries_unchanged() compares with);
///  - `int line_height()`, `start_line(width, height)`;
///  - `bool entries_unchanged()`: the cache is as it was when the entries were
///    read, so they are placed as they are; else each is read again by its
///    key (`Entry read_again(key)`), which may give another entry;
///  - `long place(entry, pen)`: puts the entry's picture at `pen`; its advance;
///  - `finish()`: the pieces are all placed; what it gives is the line.
template <class Host>
auto compose_dynamic_line(std::u32string_view text, Host& host) {
    using Key = typename Host::Key;
    using Entry = typename Host::Entry;
    std::vector<std::optional<Key>> keys;
    std::vector<Entry> entries;
    keys.reserve(text.size());
    entries.reserve(text.size());
    long total_advance = 0;
    for (char32_t code : text) {
        Entry entry{};
        if (host.recall(code, entry)) {
            total_advance += host.advance(entry);
            keys.emplace_back();  // made only if the cache is asked again below
            entries.push_back(std::move(entry));
            continue;
        }
        Key key = host.key_of(code);
        entry = host.look_up(code, key);
        total_advance += host.advance(entry);
        keys.emplace_back(std::move(key));
        entries.push_back(std::move(entry));
    }
    host.entries_read();
    const DynamicLineSize size = dynamic_line_size(total_advance, host.line_height());
    host.start_line(size.width, size.height);
    // The pen follows what is placed: an entry read again may be another one.
    const bool reuse = host.entries_unchanged();
    long pen = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (reuse) {
            pen += host.place(entries[i], pen);
            continue;
        }
        if (!keys[i]) keys[i] = host.key_of(text[i]);
        pen += host.place(host.read_again(*keys[i]), pen);
    }
    return host.finish();
}

}  // namespace lumo::render
