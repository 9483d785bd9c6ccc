-- Creates a session with two MIDI tracks: "Source" carries the plug-in, its MIDI output
-- feeds "Recorder". Environment: SESSION_DIR, SESSION_NAME, PLUGIN_TYPE (LXVST, VST3 or LV2)
-- and PLUGIN_ID (the plug-in's file for VST2 and VST3, its URI for LV2).
local dir, name = os.getenv ("SESSION_DIR"), os.getenv ("SESSION_NAME")
local kind, id = ARDOUR.PluginType[os.getenv ("PLUGIN_TYPE")], os.getenv ("PLUGIN_ID")

if not create_session (dir, name, 48000) then
    print ("FAIL cannot create session")
    os.exit (1)
end

local info = nil
for p in ARDOUR.LuaAPI.list_plugins ():iter () do
    if p.type == kind and (p.path == id or p.unique_id == id) then info = p end
end

if not info then
    print ("FAIL plug-in not found: " .. id)
    close_session ()
    os.exit (1)
end

local function midi_track (track_name)
    local list = Session:new_midi_track (ARDOUR.ChanCount (ARDOUR.DataType ("midi"), 1),
                                         ARDOUR.ChanCount (ARDOUR.DataType ("midi"), 1),
                                         false, ARDOUR.PluginInfo (), nil, nil, 1, track_name,
                                         ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
    for t in list:iter () do return t end
end

local source, recorder = midi_track ("Source"), midi_track ("Recorder")
local proc = ARDOUR.LuaAPI.new_plugin (Session, info.unique_id, kind, "")

if proc:isnil () then
    print ("FAIL cannot instantiate the plug-in")
    close_session ()
    os.exit (1)
end

source:add_processor_by_index (proc, 0, nil, true)
print ("PARAMETERS " .. proc:to_insert ():plugin (0):parameter_count ())

Session:save_state ("", false, false, false, false, false)
close_session ()
print ("OK")
