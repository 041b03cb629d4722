#include "pictures/loader_extras.h"

#include <cstdio>
#include <cstring>

namespace {

char error_text[160];

}   // namespace

const char* picture_error = error_text;

void note_load_failure(const char* reason)
{
    std::snprintf(error_text, sizeof error_text, "%s", reason);
}

void note_open_failure(int error_number)
{
    std::snprintf(error_text, sizeof error_text, "cannot open: %s", std::strerror(error_number));
}

void free_picture(Picture* picture)
{
    if (!picture)
        return;
    Shape* shape = picture->shapes;
    while (shape) {
        Shape* next = shape->next;
        delete shape;
        shape = next;
    }
    delete picture;
}

void free_text_picture(TextPicture* picture)
{
    delete picture;
}
