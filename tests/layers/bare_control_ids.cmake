# Fails when a dialog, its template or a test of the dialogs names a control
# by a bare number instead of its name in dialogs/control_ids.h: a number says
# nothing of its dialog, and the same number is another control in the next.
# Usage: cmake -DFILES=<a;b;...> -P bare_control_ids.cmake
set(patterns
  # a template row: {1007, DLG_RADIO, ...}
  "{[ ]*-?[0-9]+[ ]*,[ ]*DLG_[A-Z]+[ ]*,"
  # a control operation of a procedure or a test: dlgCheck(h, 1007, ...)
  "(dlgSetText|dlgGetText|dlgCheck|dlgIsChecked|dlgEnable|dlgIsEnabled|dlgListAdd|dlgListSetCurSel|dlgListGetCurSel|dlgGetUInt|dlgSetUInt|dlgTrackbar[A-Za-z]+|readPathField)\\([a-z]+, *[0-9]+"
  # the test double's operations: d.click(1007), d.text(1010)
  "d\\.(click|type|choose|slide|text|checked|enabled|listCount|listEntry|listSelection|trackPos|trackMin|trackMax)\\( *[0-9]+"
  # a form's widget looked up by id: control<QComboBox>(d, 1007)
  "control<[^>]+>\\([a-z]+, *[0-9]+"
  # a procedure comparing or switching on an id
  "[^A-Za-z_]id *[!=]= *[0-9]+"
  "case +[0-9]+ *:")
set(found 0)
foreach(file IN LISTS FILES)
  file(STRINGS "${file}" lines)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    foreach(pattern IN LISTS patterns)
      if(line MATCHES "${pattern}")
        message("${file}:${number}: a control named by its number: ${line}")
        set(found 1)
        break()
      endif()
    endforeach()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "name the control from dialogs/control_ids.h")
endif()
