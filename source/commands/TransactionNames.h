#pragma once

/** The names of the undo steps, as the undo and redo buttons show them. */
namespace TransactionNames
{
inline constexpr const char* editPhrase = "Edit phrase";
inline constexpr const char* mutatePhrase = "Mutate phrase";
inline constexpr const char* renamePhrase = "Rename phrase";
inline constexpr const char* changePhraseOrder = "Change phrase order";
inline constexpr const char* createNewRow = "Create new row";
inline constexpr const char* createMultipleRows = "Create multiple rows";
inline constexpr const char* deleteRow = "Delete row";
inline constexpr const char* changeRowOrder = "Change row order";
inline constexpr const char* changeRowSettings = "Change row settings";
inline constexpr const char* muteRow = "Mute row";
inline constexpr const char* unmuteRow = "Unmute row";
inline constexpr const char* lockRow = "Lock row generation";
inline constexpr const char* unlockRow = "Unlock row generation";
inline constexpr const char* createNewController = "Create new controller";
inline constexpr const char* deleteController = "Delete controller";
inline constexpr const char* changeControllerType = "Change controller type";
} // namespace TransactionNames
