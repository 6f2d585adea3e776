s = "tab	here\\ \"q\" crlf
";
t = "";
