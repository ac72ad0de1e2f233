# Writes SITE/sw.js from TEMPLATE: @FILES@ becomes the list of the site's files
# (NAMES, separated by commas), @VERSION@ a digest of their contents.
string(REPLACE "," ";" names "${NAMES}")
set(digests "")
set(FILES "\"./\"")
foreach(name ${names})
    file(SHA256 ${SITE}/${name} digest)
    string(APPEND digests "${name} ${digest}\n")
    string(APPEND FILES ",\n    \"${name}\"")
endforeach()
string(SHA256 all "${digests}")
string(SUBSTRING ${all} 0 16 VERSION)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
