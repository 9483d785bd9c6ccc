-- Loads a session made by create_session.lua, rolls the transport, plays a chord into
-- "Source" and records what comes out on "Recorder". Prints one line per recorded note:
-- NOTE <pitch> <velocity> <channel 1..16> <start beats> <length beats>, then saves.
-- Environment: SESSION_DIR, SESSION_NAME, CHORD (pitches separated by blanks),
-- HOLD_MS (how long the chord is held), BYPASS_AFTER_MS (when given: the host bypasses the
-- plug-in that long into the chord and prints BYPASSED <transport sample>), PRESET (when
-- given: the plug-in's preset of that name is chosen from the host's list first). Prints
-- CHORD <transport sample> as the chord is sent and RELEASE <transport sample> as it is released.
local dir, name = os.getenv ("SESSION_DIR"), os.getenv ("SESSION_NAME")
local hold_ms = tonumber (os.getenv ("HOLD_MS") or "2500")
local bypass_ms = tonumber (os.getenv ("BYPASS_AFTER_MS") or "-1")
local chord = {}
for p in string.gmatch (os.getenv ("CHORD") or "60 64 67", "%d+") do chord[#chord + 1] = tonumber (p) end

if not load_session (dir, name) then
    print ("FAIL cannot load session")
    os.exit (1)
end

local source, recorder = Session:route_by_name ("Source"), Session:route_by_name ("Recorder")
if source:isnil () or recorder:isnil () then
    print ("FAIL tracks missing")
    close_session ()
    os.exit (1)
end

local preset = os.getenv ("PRESET") or ""
if preset ~= "" then
    -- The plug-in ignores a program change for a second after the session's state is restored
    -- (hosts send the stored program along with the state); a user picks one later anyway.
    ARDOUR.LuaAPI.usleep (1200000)
    local plug = source:nth_plugin (0):to_insert ():plugin (0)
    local record = plug:preset_by_label (preset)
    if not record or not plug:load_preset (record) then
        print ("FAIL no preset named " .. preset)
        close_session ()
        os.exit (1)
    end
    -- Programs are loaded on the plug-in's own message thread.
    ARDOUR.LuaAPI.usleep (500000)
end

-- A session plays one scenario after another: each starts with the plug-in active (an earlier
-- one may have bypassed it), and only this take is reported.
source:nth_plugin (0):to_insert ():enable (true)
local playlist = recorder:to_track ():playlist ()
local earlier = {}
for r in playlist:region_list ():iter () do earlier[#earlier + 1] = r end
for _, r in ipairs (earlier) do playlist:remove_region (r) end

source:output ():disconnect_all (nil)
recorder:input ():disconnect_all (nil)
recorder:input ():connect (recorder:input ():midi (0), source:output ():midi (0):name (), nil)
source:to_track ():monitoring_control ():set_value (ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)
recorder:to_track ():rec_enable_control ():set_value (1, PBD.GroupControlDisposition.NoGroup)

local function send (bytes)
    local parser = ARDOUR.RawMidiParser ()
    for _, b in ipairs (bytes) do
        if parser:process_byte (b) then
            source:to_track ():to_midi_track ():write_immediate_event (Evoral.EventType.MIDI_EVENT, parser:buffer_size (), parser:midi_buffer ())
        end
    end
end

Session:maybe_enable_record (false)
Session:request_roll (ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep (400000)

print ("CHORD " .. Session:transport_sample ())
for _, p in ipairs (chord) do send ({ 0x90, p, 100 }) end

if bypass_ms >= 0 then
    -- What a bypass button does: through the plug-in's own bypass where it has one.
    ARDOUR.LuaAPI.usleep (bypass_ms * 1000)
    source:nth_plugin (0):to_insert ():enable (false)
    print ("BYPASSED " .. Session:transport_sample ())
    ARDOUR.LuaAPI.usleep ((hold_ms - bypass_ms) * 1000)
else
    ARDOUR.LuaAPI.usleep (hold_ms * 1000)
end

print ("RELEASE " .. Session:transport_sample ())
for _, p in ipairs (chord) do send ({ 0x80, p, 0 }) end
ARDOUR.LuaAPI.usleep (300000)

Session:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep (1000000)

for r in playlist:region_list ():iter () do
    local region = r:to_midiregion ()
    if not region:isnil () then
        for n in ARDOUR.LuaAPI.note_list (region:model ()):iter () do
            print (string.format ("NOTE %d %d %d %s %s", n:note (), n:velocity (), n:channel () + 1, n:time ():str (), n:length ():str ()))
        end
    end
end

recorder:to_track ():rec_enable_control ():set_value (0, PBD.GroupControlDisposition.NoGroup)
Session:save_state ("", false, false, false, false, false)
close_session ()
print ("OK")
