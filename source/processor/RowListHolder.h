#pragma once

#include "CadenziumModifier.h"

#include <tarn/processor/RealtimeObjectExchange.h>

/** The row list as the audio thread sees it. The message thread publishes a whole new
    list after every row edit or state load; the audio thread adopts it at the start of a
    block and resolves rows from it without locking; the old list is freed on the message
    thread. */
using RowListHolder = tarn::RealtimeObjectExchange<RowList>;
