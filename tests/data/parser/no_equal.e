%Prog p [ ] [ ] .
