# Joins the page's classic scripts into one, in the order given, each after a
# line that names it: what the browser would run from one script tag each.
#   cmake -DOUTPUT=<page.js> -DSCRIPTS=<script,script,...> -P join_scripts.cmake
string(REPLACE "," ";" scripts "${SCRIPTS}")
set(joined "")
foreach(script IN LISTS scripts)
  file(READ ${script} text)
  get_filename_component(name ${script} NAME)
  string(APPEND joined "// ---- ${name} ----\n${text}\n")
endforeach()
file(WRITE ${OUTPUT}.new "${joined}")
file(RENAME ${OUTPUT}.new ${OUTPUT})
