{ Check the links stored in text form files, without running the
  application they belong to.

    orvcheck [--derived [--class NAME=PARENT ...]] [--read-only [--allow=CLASS.MEMBER ...]]
             FILE.lfm [FILE2.lfm ...]
    orvcheck --help | --version

  One line per link ("ok" or "broken: why"), a line per warning, and a last
  line "N links checked: K ok, B broken, W warnings". Exit code 0 when no
  link is broken, 1 when one is, 2 when a file cannot be read or is not a
  form file (the message names file and line) or the command line is wrong.
  With --read-only, a link is also broken when the link policy "read-only
  links", with the members --allow lists, would refuse it.

  It knows the classes the orvane_d5 package registers and no others: an
  application with its own bound components runs the same check from a
  program of its own that links them (CheckFormFile of Orvlinkcheck). }
program orvcheck;

{$I ../../package/orvdefines.inc}

uses
  Classes, SysUtils,
  Interfaces, // the widgetset that the bound control classes need linked
  orvane_d5, // links and starts every binding, so every registered class is known
  Orvcommon, Orvlfm, Orvlinkcheck, Orvpolicy;

resourcestring
  rsUsage = 'usage: orvcheck [--derived [--class NAME=PARENT ...]] ' +
    '[--read-only [--allow=CLASS.MEMBER ...]] FILE.lfm [FILE2.lfm ...] | --help | --version';
  rsHelp =
    LineEnding +
    'Reports for every link in the text form files whether it would connect' + LineEnding +
    'when the form is read, and if not which name on which side does not' + LineEnding +
    'resolve; the last line is "N links checked: K ok, B broken, W warnings".' + LineEnding +
    'Exit code 0: no link is broken; 1: a link is broken; 2: a file cannot be' + LineEnding +
    'read or is not a form file, or the command line is wrong.' + LineEnding +
    LineEnding +
    'Registrations: this program knows the classes the orvane_d5 package' + LineEnding +
    'registers (RTL and LCL classes, TObject, TInterfacedObject, TorvVariable;' + LineEnding +
    'see orvinspect --all) and no others. To check forms that use an' + LineEnding +
    'application''s own bound components, call CheckFormFile of unit' + LineEnding +
    'Orvlinkcheck (tools/check) from a program that links those components,' + LineEnding +
    'as examples/orvcheckforms.lpr does.' + LineEnding +
    LineEnding +
    'Derived classes: --derived checks as an application that sets' + LineEnding +
    'TorvClassRegistry.DerivedClasses := True does, where a component of an' + LineEnding +
    'unregistered class gets the binding of its nearest registered ancestor.' + LineEnding +
    'A form file names a component''s class but not its parents, and this' + LineEnding +
    'program does not link an application''s classes: --class NAME=PARENT says' + LineEnding +
    'that class NAME derives from PARENT (repeat it for each level of a chain;' + LineEnding +
    'it is taken on trust, so name the real parent). Without a --class for it,' + LineEnding +
    'a class is found only when this program links it. A check program of' + LineEnding +
    'the application''s own that sets DerivedClasses walks the real parents' + LineEnding +
    'of every class it registers with the RTL''s RegisterClass, as in' + LineEnding +
    'RegisterClass(TMyEdit) before CheckFormFile: that needs no --class and' + LineEnding +
    'cannot be wrong.' + LineEnding +
    LineEnding +
    '--read-only also reports as broken every link that an application' + LineEnding +
    'running under the link policy "read-only links" (unit Orvpolicy) would' + LineEnding +
    'refuse: links that write a property or call a method. Each' + LineEnding +
    '--allow=CLASS.MEMBER lets them write or call MEMBER of CLASS and the' + LineEnding +
    'classes bound below it, as LinkPolicy.Allow does ("*" for any).';
  rsClassNeedsDerived = 'orvcheck: --class is used only with --derived';
  rsBadClassOption = 'orvcheck: --class takes NAME=PARENT, not ''%s''';
  rsVersion = 'orvcheck (Orvane Suite, orvane_d5 %s)';
  rsFileFailed = '%s: %s';
  rsUnknownHere = 'orvcheck: %d sides name components of classes this program has no binding for; ' +
    'it knows only the classes of the orvane_d5 package (orvcheck --help says how to check ' +
    'an application''s own)';

const
  PackageVersion = '1.1';

{ Take --class NAME=PARENT; answer False when it is not of that shape. }
function TakeClassParent(const AText: string): Boolean;
var
  Eq: Integer;
begin
  Eq := Pos('=', AText);
  Result := (Eq > 1) and (Eq < Length(AText));
  if Result then
    AddClassParent(Trim(Copy(AText, 1, Eq - 1)), Trim(Copy(AText, Eq + 1, MaxInt)))
  else
    WriteLn(ErrOutput, Format(rsBadClassOption, [AText]));
end;

{ Answer whether AArg is an option of the link policy, and apply it. An
  --allow without --read-only before it, or without class or member, is
  not one. }
function PolicyOption(const AArg: string): Boolean;
var
  Entry: string;
  Dot: Integer;
begin
  if AArg = '--read-only' then
  begin
    UseReadOnlyLinks;
    Exit(True);
  end;
  Result := False;
  if (Copy(AArg, 1, 8) <> '--allow=') or (LinkPolicy = nil) then
    Exit;
  Entry := Copy(AArg, 9, MaxInt);
  Dot := Pos('.', Entry);
  if (Trim(Copy(Entry, 1, Dot - 1)) = '') or (Trim(Copy(Entry, Dot + 1, MaxInt)) = '') then
    Exit;
  LinkPolicy.Allow(Copy(Entry, 1, Dot - 1), Copy(Entry, Dot + 1, MaxInt));
  Result := True;
end;

{ Answer the exit code of a command line that asks for help or the version,
  or is not a list of files; -1 for a list of files, left in AFiles, with
  the derived-class options in force. }
function RunOptions(AFiles: TStrings): Integer;
var
  I: Integer;
  Derived, Parents: Boolean;
begin
  Result := -1;
  for I := 1 to ParamCount do
    if (ParamStr(I) = '--help') or (ParamStr(I) = '-h') then
    begin
      WriteLn(rsUsage);
      WriteLn(rsHelp);
      Exit(0);
    end
    else if ParamStr(I) = '--version' then
    begin
      WriteLn(Format(rsVersion, [PackageVersion]));
      Exit(0);
    end;
  Derived := False;
  Parents := False;
  I := 1;
  while (I <= ParamCount) and (Result < 0) do
  begin
    if ParamStr(I) = '--derived' then
      Derived := True
    else if ParamStr(I) = '--class' then
    begin
      Inc(I);
      Parents := True;
      if (I > ParamCount) or not TakeClassParent(ParamStr(I)) then
        Result := 2;
    end
    // A policy option is applied as it is read; any other option is a mistake.
    else if Copy(ParamStr(I), 1, 1) = '-' then
    begin
      if not PolicyOption(ParamStr(I)) then
        Result := 2;
    end
    else
      AFiles.Add(ParamStr(I));
    Inc(I);
  end;
  if (Result < 0) and Parents and not Derived then
  begin
    WriteLn(ErrOutput, rsClassNeedsDerived);
    Result := 2;
  end;
  if AFiles.Count = 0 then
    Result := 2;
  if Result = 2 then
    WriteLn(ErrOutput, rsUsage)
  else
    TorvClassRegistry.DerivedClasses := Derived;
end;

function Run(AFiles: TStrings): Integer;
var
  Lines: TStringList;
  Total: TorvCheckCounts;
  I: Integer;
  Unreadable: Boolean;
begin
  Result := RunOptions(AFiles);
  if Result >= 0 then
    Exit;
  Total := Default(TorvCheckCounts);
  Unreadable := False;
  Lines := TStringList.Create;
  try
    for I := 0 to AFiles.Count - 1 do
    begin
      Lines.Clear;
      // One bad file does not keep the others from being checked.
      try
        AddCounts(Total, CheckFormFile(AFiles[I], Lines));
      except
        on E: EorvFormFileError do
        begin
          WriteLn(ErrOutput, E.Message);
          Unreadable := True;
        end;
        on E: Exception do
        begin
          WriteLn(ErrOutput, Format(rsFileFailed, [AFiles[I], E.Message]));
          Unreadable := True;
        end;
      end;
      Write(Lines.Text);
    end;
    if Total.UnknownClasses > 0 then
      WriteLn(ErrOutput, Format(rsUnknownHere, [Total.UnknownClasses]));
    WriteLn(SummaryLine(Total));
  finally
    Lines.Free;
  end;
  if Unreadable then
    Result := 2
  else if Total.Broken > 0 then
    Result := 1
  else
    Result := 0;
end;

var
  Files: TStringList;
begin
  Files := TStringList.Create;
  try
    ExitCode := Run(Files);
  finally
    Files.Free;
    SetLinkPolicy(nil);
  end;
end.
