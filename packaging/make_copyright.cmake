# Writes the Debian copyright file: copyright.in with the licence texts of
# LICENSE and of the glyph font's licence filled in, each line indented by
# one blank and an empty line written as " ." as the format asks.
#   cmake -DIN=copyright.in -DLICENSE=LICENSE -DFONT_LICENSE=LICENSE.txt
#         -DOUT=copyright -P make_copyright.cmake

function(indented text out)
  # A line may not begin with a dot there: it joins the line before.
  string(REGEX REPLACE "\n[ \t]*\\." " ." text "${text}")
  string(REGEX REPLACE "^\n+" "" text "${text}")
  string(REGEX REPLACE "[ \n]+$" "" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(result "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "[ \t]+$" "" line "${line}")
    if(line STREQUAL "")
      # One empty line between paragraphs, however many there were.
      if(NOT result MATCHES " \\.\n$")
        string(APPEND result " .\n")
      endif()
    else()
      string(APPEND result " ${line}\n")
    endif()
  endforeach()
  string(REGEX REPLACE "\n$" "" result "${result}")
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The text between two headings of the font's licence (a heading is its line
# and the dashes under it); to the end when `last` is empty.
function(section text first last out)
  string(FIND "${text}" "${first}\n" begin)
  if(begin LESS 0)
    message(FATAL_ERROR "no '${first}' in ${FONT_LICENSE}")
  endif()
  string(SUBSTRING "${text}" ${begin} -1 rest)
  string(FIND "${rest}" "\n" nl)
  math(EXPR nl "${nl} + 1")
  string(SUBSTRING "${rest}" ${nl} -1 rest)
  string(REGEX REPLACE "^-+\n" "" rest "${rest}")
  if(last)
    string(FIND "${rest}" "${last}\n" end)
    string(SUBSTRING "${rest}" 0 ${end} rest)
  endif()
  set(${out} "${rest}" PARENT_SCOPE)
endfunction()

# A ";" in the texts would split a line where the lines are made a list.
file(READ "${LICENSE}" agpl)
string(REPLACE ";" "\\;" agpl "${agpl}")
# The first two lines name the program and its copyright, which the Files
# paragraph states.
# (REGEX REPLACE would apply "^" again after each match, so FIND it is.)
foreach(i 1 2)
  string(FIND "${agpl}" "\n" nl)
  math(EXPR nl "${nl} + 1")
  string(SUBSTRING "${agpl}" ${nl} -1 agpl)
endforeach()
string(REGEX REPLACE "\n-+\n" "\n\n" agpl "${agpl}")
indented("${agpl}" AGPL)

file(READ "${FONT_LICENSE}" font)
string(REPLACE ";" "\\;" font "${font}")
section("${font}" "Bitstream Vera Fonts Copyright" "Arev Fonts Copyright" vera)
indented("${vera}" VERA)
section("${font}" "Arev Fonts Copyright" "" arev)
indented("${arev}" AREV)

configure_file("${IN}" "${OUT}" @ONLY)
