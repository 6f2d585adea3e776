a[i + 1].f * If x >= 0 Then ?x : fope..f, "name") Else ~b mod 2
