ALL :shop.exe
CPP = cl.exe
CFLAGS = -I$(QUVINCLUDEPATH) /nologo /MT /W3 /GX /D "WIN32" /D "NDEBUG" /D "_CONSOLE" /D "_MBCS" /c
LINK = link.exe
LDFLAGS = $(QUVLIBPATH)/quvfuncs.lib /nologo /subsystem:console /incremental:no /machine:I386 /out:shop.exe
OBJS = \
	shop.obj\
	parts.obj\

.cpp.obj::
	$(CPP) @<<
	$(CFLAGS) $<
<<

shop.exe : $(OBJS) 
	$(LINK) @<<
	$(LDFLAGS) $(OBJS)
<<

shop.obj : shop.cpp

parts.obj : parts.cpp

