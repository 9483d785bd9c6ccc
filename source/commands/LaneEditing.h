#pragma once

#include <source/processor/state/ControllerTypes.h>

/** What a phrase becomes when the controller-type list changes. Lanes are found by their key
    (type, channel and, for control changes, number), never by position. Plain value
    transformations. [any thread] */
namespace LaneEditing
{
/** The phrase with an empty lane for the type; a lane already there for that key keeps its
    points. */
tarn::Sequence withLaneAdded (const tarn::Sequence& phrase, const ControllerType& type);

/** The phrase without the lane of that key. */
tarn::Sequence withoutLane (const tarn::Sequence& phrase, const ControllerType& type);

/** The lane of `oldType`'s key takes the new type, number, channel and name, keeping its
    points (values brought into the new type's range). */
tarn::Sequence withLaneChanged (const tarn::Sequence& phrase, const ControllerType& oldType, const ControllerType& newType);
} // namespace LaneEditing
