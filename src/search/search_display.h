// The desktop's views of a running search. The desktop installs its drawing functions; the
// protocol modes leave them unset.
#pragma once

namespace corvid {

struct SearchContext;

struct SearchDisplay {
    // The search information text (time, nodes, depth, current move).
    void (*refresh)(const SearchContext& context) = nullptr;
    // The lines of the analysis pane; kind 0 exact, 1 fail high, 2 fail low.
    void (*showLines)(const SearchContext& context, int kind) = nullptr;
};

// Per process: installed once by the desktop before the first search.
extern SearchDisplay searchDisplay;

// Both are called on the search thread; they do nothing under a protocol or without a desktop.
void refreshSearchDisplay(const SearchContext& context);
void showSearchLines(const SearchContext& context, int kind);

} // namespace corvid
