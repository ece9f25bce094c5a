// A window that reads the data folder's store itself: the check must refuse the include and the store.
#include "gui/reports/Form96.h"
#include "storage/folder/store.h"

void readsTheFolder(AppContext& ctx)
{
    Store& store = ctx.ledger.store();
}
