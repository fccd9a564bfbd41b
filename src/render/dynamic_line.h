// Composing a changing line (a score, a timer) from the glyph cache's
// entries, one per character: which entries are recalled, read or drawn,
// how wide and tall the line is, where each piece goes, and when the entries
// first read may be placed as they are rather than read again.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "font/dynamic_glyphs.h"
#include "font/viewed_map.h"
#include "render/prepared_line.h"

namespace lumo::render {

/// The surface a dynamic line is composed on: as wide as its pieces'
/// advances (at least one column), 1.5 line heights tall as every line.
struct DynamicLineSize {
    long width = 1;
    long height = 0;
};
DynamicLineSize dynamic_line_size(long total_advance, int line_height);

/// Composes the line of `text` through `host`, which holds the glyph cache,
/// with `memo` (null: none for this line's context) recalling the entries
/// the last lines read while the cache is unchanged. The host gives:
///  - `font::ViewStamp stamp()`: the cache's state now;
///  - `Key key_of(code)`; `std::optional<Entry> find(key)`: the cache's entry;
///    `Entry draw(code)` and `store(key, entry)` when it has none;
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
auto compose_dynamic_line(std::u32string_view text, Host& host, font::DynamicGlyphs<typename Host::Entry>* memo) {
    using Key = typename Host::Key;
    using Entry = typename Host::Entry;
    std::vector<std::optional<Key>> keys;
    std::vector<Entry> entries;
    keys.reserve(text.size());
    entries.reserve(text.size());
    long total_advance = 0;
    for (char32_t code : text) {
        if (const Entry* known = memo != nullptr ? memo->find(code, host.stamp()) : nullptr) {
            total_advance += host.advance(*known);
            keys.emplace_back();  // made only if the cache is asked again below
            entries.push_back(*known);
            continue;
        }
        Key key = host.key_of(code);
        const font::ViewStamp seen = host.stamp();
        std::optional<Entry> stored = host.find(key);
        if (stored) {
            if (memo != nullptr) memo->learn_read(code, seen, host.stamp(), *stored);
        } else {
            stored = host.draw(code);
            const font::ViewStamp before = host.stamp();
            host.store(key, *stored);
            if (memo != nullptr) memo->learn_write(code, before, host.stamp(), *stored);
        }
        total_advance += host.advance(*stored);
        keys.emplace_back(std::move(key));
        entries.push_back(std::move(*stored));
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
