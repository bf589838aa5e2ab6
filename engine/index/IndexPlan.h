#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The index of a slideshow disc: pages of numbered thumbnails that RETURN
// shows and the number keys leave, and, for shows of many pages, directory
// pages that lead to them. Each page is a still of its own, so the pages
// share the disc's 1,980 segments with the photos.

constexpr size_t kMaxDiscSegments = 1980;
constexpr size_t kMaxNumberKey = 99;  // a selection list's numbers run from 1 to 99

struct IndexPage {
    size_t first = 0, count = 0;  // the photos (0-based) or, on a directory page, the index pages it shows
};

struct IndexPlan {
    bool made = false;     // false: the disc has no index (the photos leave no room for one)
    size_t columns = 0, rows = 0;
    // Up to 99 photos every page takes every photo's number; above, a
    // number is a place on the page (1 to columns x rows).
    bool photoNumbers = false;
    std::vector<IndexPage> pages;
    std::vector<IndexPage> directories;  // each shows up to columns x rows index pages

    size_t PerPage() const { return columns * rows; }
    size_t Stills() const { return pages.size() + directories.size(); }
    size_t PageOf(size_t photo) const { return PerPage() ? photo / PerPage() : 0; }
    size_t DirectoryOf(size_t page) const { return PerPage() ? page / PerPage() : 0; }
};

// The index for a show of photos whose own stills take stills segments:
// 20 thumbnails a page (5 x 4); when the photos and the pages would not
// fit in the disc's segments, 25 (5 x 5), then 30 (6 x 5), then the same
// without directory pages; none at all only when even that does not fit.
// A photo is never left out for the index.
IndexPlan PlanIndex(size_t photos, size_t stills);

// "41–60": the numbers first + 1 to first + count as a page shows them.
std::string RangeText(size_t first, size_t count);
