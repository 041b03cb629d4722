// What the loaders offer beyond the shared interface: why the last load failed, and
// release of loaded records for tools and tests (the demo itself keeps them all).
#pragma once

#include "pictures/pictures.h"

// A short reason for the latest failed load_picture, load_text_picture or load_font,
// e.g. "cannot open: No such file or directory"; empty before any failure.
extern const char* picture_error;

void note_load_failure(const char* reason);
void note_open_failure(int error_number);   // errno of the failed open

void free_picture(Picture* picture);
void free_text_picture(TextPicture* picture);
