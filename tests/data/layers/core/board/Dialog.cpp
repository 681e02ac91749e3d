// A core file that builds a dialog: the layer check must refuse it.
#include <QDialog>
