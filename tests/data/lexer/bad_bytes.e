a # b
°¡ x $q
%pRoG
"open