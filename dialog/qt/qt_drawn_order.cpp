#include "dialog/qt/qt_drawn_order.h"

#include <algorithm>

namespace {

constexpr int kNoFrame = -1;

int AreaOf(const QRect& place) {
    return place.width() * place.height();
}

// The members, top to bottom in rows: a row takes the items whose tops lie above the middle of
// its first (topmost) item; each row then reads from left to right.
void SortInRows(const std::vector<DrawnItem>& items, std::vector<int>& members) {
    const auto top = [&](int a, int b) {
        const QRect& first = items[a].place;
        const QRect& second = items[b].place;
        return first.top() != second.top() ? first.top() < second.top()
                                           : first.left() < second.left();
    };
    std::stable_sort(members.begin(), members.end(), top);
    for (auto row = members.begin(); row != members.end();) {
        const int middle = items[*row].place.center().y();
        const auto end =
            std::find_if(row, members.end(), [&](int i) { return items[i].place.top() > middle; });
        std::stable_sort(
            row, end, [&](int a, int b) { return items[a].place.left() < items[b].place.left(); });
        row = end;
    }
}

void AppendInOrder(const std::vector<DrawnItem>& items, const std::vector<int>& frames, int frame,
                   std::vector<int>& order) {
    std::vector<int> members;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (frames[i] == frame) {
            members.push_back(i);
        }
    }
    SortInRows(items, members);
    for (int member : members) {
        if (items[member].frame) {
            AppendInOrder(items, frames, member, order);
        } else {
            order.push_back(member);
        }
    }
}

}  // namespace

int EnclosingFrame(const std::vector<DrawnItem>& items, int item) {
    int found = kNoFrame;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const bool encloses = i != item && items[i].frame &&
                              items[i].place.contains(items[item].place.center()) &&
                              AreaOf(items[i].place) > AreaOf(items[item].place);
        if (encloses &&
            (found == kNoFrame || AreaOf(items[i].place) < AreaOf(items[found].place))) {
            found = i;
        }
    }
    return found;
}

std::vector<int> DrawnOrder(const std::vector<DrawnItem>& items) {
    std::vector<int> frames(items.size());
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        frames[i] = EnclosingFrame(items, i);
    }
    std::vector<int> order;
    AppendInOrder(items, frames, kNoFrame, order);
    return order;
}
