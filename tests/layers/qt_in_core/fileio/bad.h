// A core file that reaches for Qt: the layer check must refuse it.
#include <QString>
