// A core file that reaches for a window: the layer check must refuse it.
#include "mainwindow/form_main.h"
