%Prog demo == [] 
[
%Glob
[
k : Integer
]
.