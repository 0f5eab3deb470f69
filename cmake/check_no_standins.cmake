# Fails when the product DLL carries a test stand-in: the headless services and views belong to
# the emulator and the tests only. Run after linking with -DNM=... -DDLL=...
execute_process(COMMAND ${NM} -C ${DLL} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot list the symbols of ${DLL}")
endif()
string(REGEX MATCHALL "klt::(platform|ui)::(Headless[A-Za-z]*|VirtualClock|NativeLoop|NativeHooks|NativeDesktop|FakeNetwork|Recording[A-Za-z]*)" found "${symbols}")
if(found)
  list(REMOVE_DUPLICATES found)
  message(FATAL_ERROR "${DLL} contains test stand-ins: ${found}")
endif()
