#pragma once

class QPainter;

// The program's own drawings on a 16 x 16 grid (see DrawnIcon.h): the element kinds of
// the tree and a few emblems.
namespace IconDrawings {

void folder(QPainter &p);
void openFolder(QPainter &p);
void entry(QPainter &p);
void key(QPainter &p);
void file(QPainter &p);
void table(QPainter &p);
void dice(QPainter &p);
void plusEmblem(QPainter &p);
void keyEmblem(QPainter &p);
void vault(QPainter &p);

} // namespace IconDrawings
