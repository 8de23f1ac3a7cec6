// The order in which a person reads a dialog's controls off the screen: from top to bottom, each
// row from left to right, and what a frame (a group box) encloses where the frame stands, in the
// same order among itself. Controls whose places overlap in height share a row, so buttons set a
// pixel apart in the template still read as one row.
#pragma once

#include <QRect>
#include <vector>

struct DrawnItem {
    QRect place;  // as drawn, in the window's pixels
    bool frame;   // a group box: it orders what it encloses and is not itself in the order
};

// The frame an item is drawn in: the smallest other frame that contains its centre; -1 for none.
int EnclosingFrame(const std::vector<DrawnItem>& items, int item);

// Indices of the items that are no frames, in drawn order.
std::vector<int> DrawnOrder(const std::vector<DrawnItem>& items);
