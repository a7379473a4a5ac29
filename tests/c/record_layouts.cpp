// The record layouts of record_layouts.c, checked by the C++ compiler.
#include "record_layouts.c"
