#include "tools/ToolWindows.h"

#include "tools/PlaceholderWindows.h"
#include "tools/gjfrmdbjs.h"
#include "tools/gjfrmdzjs.h"
#include "tools/gjfrmindex.h"

FormWindow *createToolWindow(WindowId id)
{
    switch (id) {
    case WindowId::gjfrmindex:
        return new gjfrmindex;
    case WindowId::gjfrmdzjs:
        return new gjfrmdzjs;
    case WindowId::gjfrmdbjs:
        return new gjfrmdbjs;
    default:
        return createPlaceholderWindow(id);
    }
}
