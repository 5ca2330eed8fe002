// The information panel. Painting comes with the panel's own work; until then
// the erased grey background stands alone.
#include "shell/panel.h"

void PaintPanel(HDC)
{
}
