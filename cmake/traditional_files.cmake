# miravel_traditional_files(OUT_VAR DIR FILE...)
#
# Converts each FILE (UTF-8 text: a page's template, stylesheet or script)
# to traditional characters at build time, as DIR/<its name>, by
# miravel-convert-script with OpenCC's standard conversion (s2t, the one the
# index gives the poems the corpus keeps only in simplified characters, so
# that a page and its poem are in one standard); OUT_VAR names the files
# made, for a target to depend on or embed. Words are written once, in
# simplified characters, and never by hand twice.
function(miravel_traditional_files out_var dir)
  set(outputs "")
  foreach(file IN LISTS ARGN)
    get_filename_component(name ${file} NAME)
    list(APPEND outputs ${dir}/${name})
  endforeach()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND miravel-convert-script --config s2t.json --out ${dir} ${ARGN}
    DEPENDS miravel-convert-script ${ARGN}
    COMMENT "Converting ${CMAKE_CURRENT_SOURCE_DIR}'s files to traditional characters"
    VERBATIM)
  set(${out_var} ${outputs} PARENT_SCOPE)
endfunction()
