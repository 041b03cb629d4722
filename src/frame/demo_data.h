// The data every scene draws from, loaded once before the display opens.
#pragma once

struct Picture;
struct TextPicture;

struct DemoData {
    TextPicture* groovster;
    TextPicture* afrogirl;
    Picture* wobbli;
    Picture* zippsy;
    Picture* ankels;
    Picture* flonk1;
    Picture* flonk2;
    Picture* strutto;
    Picture* struttoblk;
    Picture* bottles;
};
extern DemoData demo_data;

// The program named at the start of load_demo_data's messages; a tool that loads the
// demo's data sets its own name first.
extern const char* demo_data_program;
