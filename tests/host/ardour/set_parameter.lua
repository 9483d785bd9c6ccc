-- Loads a session made by create_session.lua and sets the plug-in's parameter labelled LABEL
-- to VALUE through the host's own control for it, as its generic editor or automation
-- would; prints CONTROL <label>=<value the host reads> for each of the plug-in's controls,
-- lets the host pass the value on, and saves. Environment: SESSION_DIR, SESSION_NAME,
-- LABEL, VALUE.
local dir, name = os.getenv ("SESSION_DIR"), os.getenv ("SESSION_NAME")
local label, value = os.getenv ("LABEL"), tonumber (os.getenv ("VALUE"))

if not load_session (dir, name) then
    print ("FAIL cannot load session")
    os.exit (1)
end

local insert = Session:route_by_name ("Source"):nth_plugin (0):to_insert ()
local automatable = insert:to_automatable ()
local found = false

for param in automatable:all_automatable_params ():iter () do
    local control = automatable:automation_control (param, false)
    if not control:isnil () then
        local described = control:desc ().label
        print (string.format ("CONTROL %s=%s", described, control:get_value ()))
        if described == label then
            control:set_value (value, PBD.GroupControlDisposition.NoGroup)
            found = true
        end
    end
end

-- The host hands the value to the plug-in in its next process cycle.
ARDOUR.LuaAPI.usleep (500000)
Session:save_state ("", false, false, false, false, false)
close_session ()

if found then print ("OK") else print ("FAIL no control labelled " .. label) end
