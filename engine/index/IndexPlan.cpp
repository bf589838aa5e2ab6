#include "IndexPlan.h"

namespace {

struct Grid {
    size_t columns, rows;
};
const Grid kGrids[] = {{5, 4}, {5, 5}, {6, 5}};

std::vector<IndexPage> Split(size_t total, size_t perPage)
{
    std::vector<IndexPage> pages;
    for (size_t first = 0; first < total; first += perPage)
        pages.push_back({first, total - first < perPage ? total - first : perPage});
    return pages;
}

}  // namespace

IndexPlan PlanIndex(size_t photos, size_t stills)
{
    IndexPlan plan;
    if (photos == 0)
        return plan;
    // Directory pages first, at every size; then the sizes again without.
    for (bool directories : {true, false}) {
        for (const Grid& grid : kGrids) {
            IndexPlan p;
            p.columns = grid.columns;
            p.rows = grid.rows;
            p.photoNumbers = photos <= kMaxNumberKey;
            p.pages = Split(photos, p.PerPage());
            // A directory is needed where a page's numbers are places on it
            // and there is more than one page; its numbers are page numbers.
            if (directories && !p.photoNumbers && p.pages.size() > 1) {
                if (p.pages.size() > kMaxNumberKey)
                    continue;
                p.directories = Split(p.pages.size(), p.PerPage());
            }
            if (stills + p.Stills() <= kMaxDiscSegments) {
                p.made = true;
                return p;
            }
        }
    }
    return plan;
}

std::string RangeText(size_t first, size_t count)
{
    if (count <= 1)
        return std::to_string(first + 1);
    return std::to_string(first + 1) + "\u2013" + std::to_string(first + count);
}
