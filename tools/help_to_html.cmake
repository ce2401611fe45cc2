# Writes a help text file as a web page: the text as it is, preformatted.
# cmake -DIN=vek_help.txt -DOUT=vek_help.html -DLANG=en -P help_to_html.cmake
file(READ ${IN} text)
string(REPLACE "&" "&amp;" text "${text}")
string(REPLACE "<" "&lt;" text "${text}")
string(REPLACE ">" "&gt;" text "${text}")
string(REGEX MATCH "^[^\n]*" title "${text}")
file(WRITE ${OUT} "<!DOCTYPE html>
<html lang=\"${LANG}\">
<head>
<meta charset=\"utf-8\">
<title>${title}</title>
<style>body { margin: 2em auto; max-width: 50em; } pre { white-space: pre-wrap; font-size: 1rem; }</style>
</head>
<body>
<pre>
${text}</pre>
</body>
</html>
")
