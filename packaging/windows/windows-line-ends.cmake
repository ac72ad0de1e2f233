# Copies a text file with CR LF line ends, which Windows' Notepad before 2018
# needs to show line breaks, and the words unchanged:
#   cmake -DFROM=LICENSE -DTO=LICENSE.txt -P windows-line-ends.cmake
file(READ ${FROM} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TO} "${text}")
